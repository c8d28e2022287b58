#pragma once

#include <QString>

// What the user is told about the encrypted data file: at the start, at the lock and by the
// menu's encryption commands. The menu's captions are in texts.h with the others.
namespace Texts {

// The password did not open the data file: %1 the file, %2 why (the seal cannot tell a
// wrong password from a damaged file)
inline const QString PasswordRefused =
    QStringLiteral("データファイルを開けませんでした。\n%1\n\n%2\n\n"
                   "もう一度パスワードを入力してください。");
// A plain data file stands beside the encrypted one: %1 the plain file, %2 the encrypted one
inline const QString PlainBesideTitle = QStringLiteral("暗号化されていないデータファイル");
inline const QString PlainBesideQuestion =
    QStringLiteral("暗号化されたデータファイルの横に、暗号化されていないデータファイルがあります。"
                   "\n%1\n\n暗号化されたデータファイル:\n%2\n\n"
                   "暗号化されていないファイルの内容を読み込みますか？\n\n"
                   "「はい」を選ぶと、その項目が今の項目に置き換わり、暗号化して保存します。"
                   "今の暗号化されたデータは、名前の後ろに日付と時刻を付けて残します。\n"
                   "「いいえ」を選ぶと、ファイルはそのまま残し、暗号化されたデータを開きます。"
                   "古いコファリーが作ったファイルかもしれません。"
                   "パスワードが暗号化されずに書かれているので、不要なら削除してください。");

// Choosing a new password
inline const QString ChangePasswordCaption = QStringLiteral("パスワード変更");
inline const QString PasswordEmpty = QStringLiteral("パスワードを入力してください。");
inline const QString PasswordsDiffer =
    QStringLiteral("二つのパスワードが一致しません。もう一度入力してください。");
inline const QString ShortPasswordTitle = QStringLiteral("パスワードの確認");
// %1 the password's length, %2 the length advised
inline const QString ShortPasswordQuestion =
    QStringLiteral("このパスワードは %1 文字です。%2 文字以上をお勧めします。\n\n"
                   "短いパスワードは、データファイルを手に入れた人に総当たりで破られるおそれが"
                   "あります。\n\nこのパスワードを使いますか？");

// Turning encryption on: %1 the encrypted data file
inline const QString EncryptionOn =
    QStringLiteral("暗号化しました。\n%1\n\n次回からは、起動するときにパスワードを入力します。"
                   "パスワードを忘れると、データを取り出す方法はありません。");
// %1 the file, %2 the reason
inline const QString EncryptFailed = QStringLiteral("暗号化できませんでした。\n%1\n\n%2\n\n"
                                                    "データファイルは暗号化する前のままです。");
inline const QString KeptCopiesTitle = QStringLiteral("以前のファイルの削除");
// %1 the files, one a line
inline const QString KeptCopiesQuestion =
    QStringLiteral("フォルダーに、以前のデータファイルが暗号化されずに残っています。\n%1\n\n"
                   "これらのファイルにはパスワードがそのまま書かれています。削除しますか？\n\n"
                   "削除しても、ディスク上のデータがすぐに消去されるとは限りません。");
// %1 the file, %2 the reason
inline const QString KeptCopiesNotRemoved =
    QStringLiteral("ファイルを削除できませんでした。\n%1\n\n%2");

// Changing the password: %1 the file, %2 the reason
inline const QString PasswordChanged = QStringLiteral("パスワードを変更しました。");
inline const QString ChangeFailed =
    QStringLiteral("パスワードを変更できませんでした。\n%1\n\n%2\n\n"
                   "データファイルは前のパスワードのままです。");

// Turning encryption off
inline const QString DecryptTitle = QStringLiteral("暗号化の解除");
inline const QString DecryptQuestion =
    QStringLiteral("暗号化を解除して、データファイルを暗号化せずに保存します。\n\n"
                   "ファイルを読める人は誰でも、すべてのパスワードを読めるようになります。\n\n"
                   "解除しますか？");
// %1 the plain data file
inline const QString Decrypted = QStringLiteral("暗号化を解除しました。\n%1");
// %1 the file, %2 the reason
inline const QString DecryptFailed = QStringLiteral("暗号化を解除できませんでした。\n%1\n\n%2\n\n"
                                                    "データファイルは暗号化されたままです。");

// The legacy data file, for older tools
inline const QString LegacyWarningTitle = QStringLiteral("旧形式での書き出し");
inline const QString LegacyWarning =
    QStringLiteral("旧形式のデータファイルには、すべてのパスワードが暗号化されずにそのまま"
                   "書かれます。ファイルを読める人は誰でもパスワードを読めます。\n\n"
                   "暗号化に対応していない古いコファリーなどで使うためのものです。"
                   "人と共有する場所には保存せず、使い終わったらすぐに削除してください。\n\n"
                   "書き出しますか？");
inline const QString LegacyExportDialogTitle = QStringLiteral("旧形式の書き出し先");
inline const QString LegacyFilter = QStringLiteral("旧形式のデータファイル (*.Dat)");
// %1 the file
inline const QString LegacyExported = QStringLiteral("書き出しました。\n%1");
inline const QString LegacyImportTitle = QStringLiteral("旧形式の読み込み");
inline const QString LegacyImportQuestion =
    QStringLiteral("旧形式のデータファイルを選んで読み込みます。\n\n"
                   "今の項目はすべて、そのファイルの項目に置き換わります。"
                   "今の内容は、名前の後ろに日付と時刻を付けたファイルに暗号化したまま残します。"
                   "\n\n読み込みますか？");
inline const QString LegacyImportDialogTitle = QStringLiteral("読み込む旧形式のデータファイル");
// %1 the number of entries, %2 the file read
inline const QString LegacyImported = QStringLiteral("%1 件を読み込みました。\n%2");
// %1 the name the entries before were kept under
inline const QString LegacyKeptBefore =
    QStringLiteral("\n\nそれまでの内容は、次の名前のファイルに残してあります。\n%1");

} // namespace Texts
