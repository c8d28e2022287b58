#include "folder_refusal.h"

#include "desktop.h"
#include "resources/texts.h"
#include "store/folder_guard.h"

bool RefuseUnsafeFolder(Desktop& desktop, const QString& folder)
{
    const FolderCheck check = CheckDataFolder(folder);
    MessageRequest refusal;
    switch (check.problem) {
    case FolderCheck::Problem::None:
        return false;
    case FolderCheck::Problem::CannotExamine:
        refusal.text = Texts::FolderNotExamined.arg(check.path, qt_error_string(check.systemError));
        break;
    case FolderCheck::Problem::FolderOfAnotherUser:
        refusal.text = Texts::FolderOfAnotherUser.arg(check.path);
        break;
    case FolderCheck::Problem::FolderWritableByOthers:
        refusal.text = Texts::FolderWritableByOthers.arg(check.path);
        break;
    case FolderCheck::Problem::FileOfAnotherUser:
        refusal.text = Texts::FileOfAnotherUser.arg(check.path);
        break;
    case FolderCheck::Problem::LinkToAnotherUsersFile:
        refusal.text = Texts::LinkToAnotherUsersFile.arg(check.path, check.target);
        break;
    case FolderCheck::Problem::LinkLeadsNowhere:
        refusal.text = Texts::LinkLeadsNowhere.arg(check.path, check.target);
        break;
    }
    refusal.title = Texts::MessageTitle;
    refusal.icon = QMessageBox::Critical;
    desktop.Show(nullptr, refusal);
    return true;
}
