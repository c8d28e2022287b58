#pragma once

#include "store/data_session.h"
#include "store/folder_guard.h"

#include <QString>

// Why the program will not start in a folder, with what the user can change.
QString RefusalText(const FolderCheck& check);

// The question for what the data session cannot open alone.
QString StartQuestionText(const DataSession::Asking& asking, const QString& programDirectory);
