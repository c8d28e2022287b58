#pragma once

#include <QString>

class Desktop;

// Before anything is written in `folder`: when the folder is not safe for passwords, tells
// the user what to change and returns true; the program must then end.
bool RefuseUnsafeFolder(Desktop& desktop, const QString& folder);
