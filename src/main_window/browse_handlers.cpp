// Picking a title, copying the ID or PW piece by piece, and opening the URL.
#include "fm_cofferly.h"
#include "platform/clipboard.h"

void Fm_Cofferly::IComboTitle_Click()
{
    PieceCount = 0;
    const int n = IComboTitle->SelectedIndex();
    if (n < 1 || n > entries_.size())
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
    if (!Bt_Clip[index]->isEnabled())
        return;
    ShiftCopy = shift == 1;
}

void Fm_Cofferly::Bt_Clip_Click(int index)
{
    const QString s = Lb_data[index]->text();
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
    if (PieceCount == 0) {
        PieceCount = DevideSentense(s);
        PieceNo = 1;
        RunButton = index;
        SetMode(Mode::CopyRun);
    }
    const QString& piece = Pieces.at(PieceNo - 1);
    Clipboard::Put(piece);
    LbClipBoard->setText(piece);
    if (PieceNo == PieceCount) {
        PieceCount = 0;
        PieceNo = 0;
        SetMode(Mode::Browsing);
    } else {
        ++PieceNo;
    }
}

int Fm_Cofferly::DevideSentense(const QString& text)
{
    PieceCount = 0;
    PieceNo = 0;
    Pieces.clear();
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
    PieceCount = static_cast<int>(Pieces.size());
    return PieceCount;
}

void Fm_Cofferly::CmdURL_Click()
{
    const QString u = Lb_data[2]->text();
    if (u.isEmpty()) {
        desktop_.Beep();
        return;
    }
    desktop_.OpenUrl(this, u);
}
