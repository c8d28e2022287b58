#pragma once

// What the user may set beside the data. The defaults stand until the user changes one.
struct Settings {
    // The clipboard is cleared this long after the program last put something there, if it
    // still holds that; 0 means never.
    int clearAfterSeconds = 30;
    // Windows only: the program's windows may appear in screen captures and shared screens.
    bool allowScreenCapture = false;
    // With encryption on, the program locks after this many minutes without input; 0 means
    // never.
    int lockAfterMinutes = 0;

    friend bool operator==(const Settings&, const Settings&) = default;
};
