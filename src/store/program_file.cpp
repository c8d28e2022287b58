#include "program_file.h"

FolderCheck CheckProgram(const ProgramFile& program)
{
    if (!program.nameShown) {
        FolderCheck check;
        check.problem = FolderCheck::Problem::NameNotShown;
        check.path = program.folder;
        return check;
    }
    if (FolderCheck file = CheckProgramFile(program.path); file.Refused())
        return file;
    return CheckDataFolder(program.folder);
}
