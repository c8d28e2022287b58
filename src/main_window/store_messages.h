#pragma once

#include "store/store_error.h"

#include <QString>

// A path as the system writes it (backslashes on Windows), for every message.
QString ShownPath(const QString& path);

// Why a file operation failed, as a sentence for the user.
QString StoreErrorReason(const StoreError& error);

// The message for a failure that ends the program: the file, the reason, and that nothing
// was changed.
QString EndingFailureMessage(const StoreError& error);
