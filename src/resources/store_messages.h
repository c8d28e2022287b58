#pragma once

#include "store/data_session.h"
#include "store/store_error.h"

#include <QString>
#include <QStringList>

// A path as the system writes it (backslashes on Windows), for every message.
QString ShownPath(const QString& path);

// Why a file operation failed, as a sentence for the user.
QString StoreErrorReason(const StoreError& error);

// The message for a failure that ends the program: the file, the reason, and that nothing
// was changed.
QString EndingFailureMessage(const StoreError& error);

// The message for a failed commit: the file, the reason, and that the program goes on
// with the change not yet saved.
QString CommitFailureMessage(const StoreError& error);

// The message for settings that could not be saved: the file, the reason, and that nothing
// changed.
QString SettingsFailureMessage(const StoreError& error);

// What a save that went through still has to tell, one message each: the other programs'
// versions it kept aside, and the program's own version it did not write over.
QStringList SaveNotices(const DataSession::SaveReport& saved, const QString& dataPath);
