// Picking a title, copying the ID or PW piece by piece, and opening the URL.
#include "fm_cofferly.h"
#include "platform/clipboard.h"

void Fm_Cofferly::IComboTitle_Click()
{
    // The selector is disabled while a run lasts; a pick ends any run all the same.
    if (run_)
        EndCopyRun();
    const int n = IComboTitle->SelectedIndex();
    if (n < 1 || n > Table().size())
        return;
    ShowEntry(n);
}

void Fm_Cofferly::Tx_Data_GotFocus(int index)
{
    // The whole text is selected, so the first key typed replaces it.
    Tx_Data[index]->setSelection(0, Tx_Data[index]->text().size());
}

void Fm_Cofferly::Bt_Clip_MouseDown(int index, Qt::MouseButton /*button*/, int shift)
{
    // A disabled button still sees the press but takes no part in copying: a Shift-press
    // on the greyed-out ID button during a PW run must not turn the run's keyboard copies
    // into whole copies.
    if (!CopyButtonUsable(index))
        return;
    ShiftCopy = shift == 1;
}

void Fm_Cofferly::Bt_Clip_Click(int index)
{
    const Entry* shown = ShownEntry();
    const QString s = !shown ? QString() : index == 0 ? shown->id : shown->pw;
    if (s.isEmpty()) {
        desktop_.Beep();
        return;
    }
    if (ShiftCopy) {
        // The whole text; a run in progress goes on at the next plain click.
        Clipboard::Put(s);
        LbClipBoard->setText(s);
        return;
    }
    if (!run_) {
        run_ = CopyRun{index, DevideSentense(s), 0};
        ApplyMode();
    }
    const QString piece = run_->Pieces.at(run_->PieceNo);
    Clipboard::Put(piece);
    LbClipBoard->setText(piece);
    if (++run_->PieceNo == run_->Pieces.size())
        EndCopyRun();
}

// After the last piece, or earlier at Esc or a pick: the clipboard and LbClipBoard keep the
// piece copied last, and the controls come back.
void Fm_Cofferly::EndCopyRun()
{
    run_.reset();
    ApplyMode();
}

QStringList Fm_Cofferly::DevideSentense(const QString& text)
{
    QStringList Pieces;
    const qsizetype last = text.size() - 1;
    qsizetype start = 0;
    for (qsizetype j = start; j <= last; ++j) {
        if (j == last) {
            // The last character never separates: a final dash stays in the last piece.
            Pieces << text.mid(start);
            break;
        }
        if (text[j] == u'-') {
            Pieces << text.mid(start, j - start);
            start = j + 1;
        }
    }
    return Pieces;
}

void Fm_Cofferly::CmdURL_Click()
{
    const Entry* shown = ShownEntry();
    const QString u = shown ? shown->url : QString();
    if (u.isEmpty()) {
        desktop_.Beep();
        return;
    }
    desktop_.OpenUrl(this, u);
}
