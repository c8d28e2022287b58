#pragma once

// The two item images of the title selector and the sort list.
enum class ItemImage { Folder = 1, Sheet = 2 };

// Group entries show the folder, all others the sheet of paper.
inline ItemImage ImageFor(bool group)
{
    return group ? ItemImage::Folder : ItemImage::Sheet;
}
