#include "texts.h"

// The advice that names the system's own tools.
namespace Texts {

const QString FolderWritableByOthers =
    QStringLiteral("このフォルダーはほかのユーザーも書き込めます。\n%1\n\n"
                   "パスワードを守るため、このままでは起動しません。"
                   "グループとその他のユーザーの書き込み権限をフォルダーから外してから "
                   "(chmod go-w) 起動してください。");

const QString UnsafeFolderAbove = QStringLiteral(
    "コファリーのフォルダーの上にあるこのフォルダーは、ほかのユーザーが変更できます。"
    "\n%1\n\n"
    "フォルダーを差し替えられるとパスワードが守れないため、起動しません。"
    "上にあるフォルダーがすべて自分か root のもので、グループとその他のユーザーが"
    "書き込めない (chmod go-w、または /tmp のようなスティッキービット付き) "
    "ようにするか、コファリーをそのような場所に移してから起動してください。");

const QString HardLinked =
    QStringLiteral("このファイルには、ほかの場所にも名前 (ハードリンク) があります。\n%1\n\n"
                   "保存しても以前の内容がもう一つの名前に残ってしまうため、起動しません。"
                   "もう一つの名前を削除するか、ファイルをコピーして置き換えてから "
                   "(cp ファイル 新しい名前 && mv 新しい名前 ファイル) 起動してください。");

const QString ProgramOpenToOthers =
    QStringLiteral("コファリーのプログラムファイルを、ほかのユーザーが書き換えられます。\n%1\n\n"
                   "書き換えられたプログラムがパスワードを読み取るおそれがあるため、起動しません。"
                   "ファイルの所有者を自分に変え (chown)、グループとその他のユーザーの"
                   "書き込み権限を外してから (chmod go-w) 起動してください。");

const QString MendFolderQuestion =
    QStringLiteral("このフォルダーはほかのユーザーも書き込めます。\n%1\n\n"
                   "パスワードを守るため、このままでは起動しません。\n"
                   "グループとその他のユーザーの書き込み権限をフォルダーから外して "
                   "(chmod go-w)、起動を続けますか？\n\n"
                   "「いいえ」を選ぶと、何も変更せずに終了します。");

const QString ModesTightened =
    QStringLiteral("次のファイルはほかのユーザーも読み書きできる設定になっていたため、"
                   "自分だけが読み書きできるように (0600) 変更しました。\n%1");

const QString ReasonReadOnly = QStringLiteral(
    "ファイルが書き込み禁止になっています。"
    "自分が書き込めるように (chmod u+w ファイル) してから、もう一度お試しください。");

const QString ReasonAccessDenied =
    QStringLiteral("アクセスが拒否されました。"
                   "このファイルとフォルダーが自分のもので、自分が書き込めるか "
                   "(ls -l で確かめ、chmod u+w で直せます) 確かめてから、もう一度お試しください。");

const QString ReasonPathTooLong =
    QStringLiteral("ファイルのパスが長すぎます。"
                   "コファリーのフォルダーを、もっと浅い場所 (例: ~/Cofferly) に"
                   "移してから起動してください。");

} // namespace Texts
