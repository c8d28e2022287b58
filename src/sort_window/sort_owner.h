#pragma once

// What the sort window needs of the window that opened it.
class SortOwner {
public:
    virtual ~SortOwner() = default;
    // Each returns false when a file operation failed and the program is ending:
    // the caller then stops at once.
    virtual bool SaveData() = 0;
    virtual bool LoadData() = 0;
    // Selects the first title and empties the entry display.
    virtual void ResetTitleDisplay() = 0;
};
