#include "texts.h"

// The advice that names the system's own tools.
namespace Texts {

const QString FolderWritableByOthers =
    QStringLiteral("このフォルダーはほかのユーザーも書き込めます。\n%1\n\n"
                   "パスワードを守るため、このままでは起動しません。"
                   "フォルダーのプロパティの [セキュリティ] で、自分、SYSTEM、Administrators "
                   "以外の書き込みと変更の許可を外してから起動してください。");

const QString UnsafeFolderAbove = QStringLiteral(
    "コファリーのフォルダーの上にあるこのフォルダーは、ほかのユーザーが変更できます。"
    "\n%1\n\n"
    "フォルダーを差し替えられるとパスワードが守れないため、起動しません。"
    "コファリーを自分のユーザーフォルダー (C:\\Users\\ユーザー名 の下) に移してから"
    "起動してください。");

const QString HardLinked =
    QStringLiteral("このファイルには、ほかの場所にも名前 (ハードリンク) があります。\n%1\n\n"
                   "保存しても以前の内容がもう一つの名前に残ってしまうため、起動しません。"
                   "もう一つの名前を削除するか、ファイルをコピーして置き換えてから"
                   "起動してください。");

const QString ProgramOpenToOthers =
    QStringLiteral("コファリーのプログラムファイルを、ほかのユーザーが書き換えられます。\n%1\n\n"
                   "書き換えられたプログラムがパスワードを読み取るおそれがあるため、起動しません。"
                   "ファイルのプロパティの [セキュリティ] で、自分、SYSTEM、Administrators 以外の"
                   "書き込みと変更の許可を外してから起動してください。");

const QString MendFolderQuestion =
    QStringLiteral("このフォルダーはほかのユーザーも書き込めます。\n%1\n\n"
                   "パスワードを守るため、このままでは起動しません。\n"
                   "フォルダーのアクセス許可を自分、SYSTEM、Administrators だけにして、"
                   "起動を続けますか？\n\n"
                   "「いいえ」を選ぶと、何も変更せずに終了します。");

const QString ModesTightened =
    QStringLiteral("次のファイルはほかのユーザーも読み書きできる設定になっていたため、"
                   "自分だけが読み書きできるように変更しました。\n%1");

const QString ReasonReadOnly =
    QStringLiteral("ファイルが読み取り専用になっています。"
                   "エクスプローラーでファイルを右クリックして [プロパティ] を開き、"
                   "[読み取り専用] のチェックを外してから、もう一度お試しください。");

const QString ReasonAccessDenied =
    QStringLiteral("アクセスが拒否されました。"
                   "ファイルのプロパティの [セキュリティ] で自分に書き込みの許可があるか、"
                   "ウイルス対策ソフト (Windows セキュリティの「コントロールされたフォルダー"
                   "アクセス」など) がコファリーを止めていないか確かめてから、"
                   "もう一度お試しください。");

const QString ReasonPathTooLong = QStringLiteral(
    "ファイルのパスが長すぎます (Windows では 260 文字まで)。"
    "コファリーのフォルダーを、もっと浅い場所 (例: C:\\Users\\ユーザー名\\Cofferly) に"
    "移してから起動してください。");

} // namespace Texts
