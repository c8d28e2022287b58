// The search and the password generator: their menu entries and keys hand the commands to
// the state, which decides whether each may open now, and what the window each opens gives
// back does.
#include "fm_cofferly.h"
#include "generator_dialog.h"
#include "search_box.h"

void Fm_Cofferly::menu_Search_Click()
{
    Carry(state_.CommandChosen(WindowCommand::Search));
}

void Fm_Cofferly::menu_Generate_Click()
{
    Carry(state_.CommandChosen(WindowCommand::Generate));
}

// Esc leaves the selection and the entry display as they were.
void Fm_Cofferly::ShowSearch()
{
    SearchBox box(Table(), this);
    if (box.exec() == QDialog::Accepted)
        Carry(state_.SearchPicked(box.Picked()));
}

// Esc leaves the PW box as it was.
void Fm_Cofferly::ShowGenerator()
{
    GeneratorDialog generator(this);
    if (generator.exec() == QDialog::Accepted)
        Carry(state_.PasswordMade(generator.Password()));
}
