#pragma once

#include <QString>

// Every caption and message the user sees, in one place. Names say where each is used.
namespace Texts {

// Application
inline const QString AppTitle = QStringLiteral("コファリー");
inline const QString MessageTitle = QStringLiteral("Cofferly");
inline const QString HelpFileName = QStringLiteral("Cofferly.hlp");
// The read-me beside the program, opened by F1 where no help file is
inline const QString ReadMeFileName = QStringLiteral("README.txt");
inline const QString NewGroupTitle = QStringLiteral("新規グループ");

// Main window
// With the version the build names
extern const QString MainCaption; // texts.cpp
inline const QString TitleSelectorTip = QStringLiteral("タイトルです");
inline const QString AddCaption = QStringLiteral("新規(&A)");
inline const QString AddTip =
    QStringLiteral("現在選択している位置の後ろに新しいIDとPWを登録します");
inline const QString EditCaption = QStringLiteral("編集(&E)");
inline const QString EditTip = QStringLiteral("現在選択している見出しやID＆PWを編集します");
inline const QString DeleteCaption = QStringLiteral("削除(&D)");
inline const QString DeleteTip = QStringLiteral("現在選択している項目を削除します");
inline const QString DataFrameCaption = QStringLiteral("データ");
inline const QString IdLabel = QStringLiteral("I D");
inline const QString PwLabel = QStringLiteral("PW");
inline const QString UrlLabel = QStringLiteral("関連URL");
inline const QString NotEntered = QStringLiteral("未入力");
inline const QString PlaceholderUrl = QStringLiteral("http://");
inline const QString CopyIdCaption = QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞﾍ(&I)");
inline const QString CopyIdTip = QStringLiteral("ＩＤをｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします");
inline const QString CopyPwCaption = QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞﾍ(&P)");
inline const QString CopyPwTip = QStringLiteral("PWをｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします");
inline const QString OpenUrlCaption = QStringLiteral("&URLを開く");
inline const QString OpenUrlTip = QStringLiteral("関連URLに指定されたアドレスを開きます");
inline const QString TopCaption = QStringLiteral("&TOP");
inline const QString TopTip = QStringLiteral("常に一番上に表示します");
inline const QString ClipboardLabel = QStringLiteral("クリップボードの内容");
inline const QString ClipboardTip = QStringLiteral("現在のクリップボードの内容を示します");
inline const QString SortCaption = QStringLiteral("&Sort");
inline const QString HeadingLabel = QStringLiteral("見出し");
inline const QString EditIdLabel = QStringLiteral("Ｉ Ｄ");
inline const QString GroupHint =
    QStringLiteral("見出しを入力し、IDとPWとURLを空欄にするとグループ名とみなされます");
inline const QString CommitCaptionAtStart = QStringLiteral("追加");
inline const QString CommitAddCaption = QStringLiteral("追 加");
inline const QString CommitEditCaption = QStringLiteral("確 定");
inline const QString BackCaption = QStringLiteral("もどる");

// The main window's menu, for the commands its layout has no control for
inline const QString ClearClipboardCommand = QStringLiteral("クリップボードを消去(&C)");
inline const QString SettingsCommand = QStringLiteral("設定(&S)...");
inline const QString ExportCommand = QStringLiteral("書き出し(&X)...");
inline const QString ImportCommand = QStringLiteral("読み込み(&I)...");
inline const QString SearchCommand = QStringLiteral("検索(&F)");
inline const QString GenerateCommand = QStringLiteral("パスワード生成(&G)");
// Offered only while the data is plain
inline const QString EncryptCommand = QStringLiteral("暗号化(&E)...");
// Offered only while the data is encrypted
inline const QString ChangePasswordCommand = QStringLiteral("パスワード変更(&P)...");
inline const QString DecryptCommand = QStringLiteral("暗号化を解除(&D)...");
inline const QString ExportLegacyCommand = QStringLiteral("旧形式で書き出し(&W)...");
inline const QString ImportLegacyCommand = QStringLiteral("旧形式を読み込み(&R)...");
inline const QString LockCommand = QStringLiteral("ロック(&L)");

// Main window messages
inline const QString TableFull = QStringLiteral("これ以上データを登録できません");
inline const QString LastEntryUndeletable =
    QStringLiteral("最後の１項目は削除できません。必要に応じて編集してください");
inline const QString DeleteQuestionSuffix = QStringLiteral("を削除します");
inline const QString DeleteQuestionTitle = QStringLiteral("削除の確認");
// %1 the field's caption, %2 the character as CharacterName gives it
inline const QString UnstorableCharacter =
    QStringLiteral("%1に保存できない文字%2が含まれています。\n"
                   "この文字を削除するか、別の文字に置き換えてください。");
// %1 the character that looks the same and can be stored, as CharacterName gives it
inline const QString UnstorableLookAlike =
    QStringLiteral("見た目のよく似た文字%1なら保存できます。");
inline const QString LineBreakName = QStringLiteral("改行");
// Closing the window in add or edit mode with texts typed; titled SaveQuestionTitle
inline const QString CloseSaveQuestion = QStringLiteral("編集中の内容を保存しますか？");
inline const QString TitleFieldName = QStringLiteral("見出し");
inline const QString IdFieldName = QStringLiteral("ID");
inline const QString PwFieldName = QStringLiteral("PW");
inline const QString UrlFieldName = QStringLiteral("関連URL");

// Opening the related URL: %1 the URL as shown
inline const QString UrlStartsWithDash =
    QStringLiteral("このアドレスは「-」で始まるため開けません。\n%1\n\n"
                   "「-」で始まる文字は、開くためのプログラムへの指定と見なされてしまいます。"
                   "関連URLを編集してください。");
inline const QString UrlQuestion =
    QStringLiteral("このアドレスはウェブページやメールのアドレスではありません。\n%1\n\n"
                   "ファイルが開かれたり、プログラムが起動されたりすることがあります。"
                   "開きますか？");
inline const QString UrlQuestionTitle = QStringLiteral("URLの確認");
// %1 the address or file, %2 the reason
inline const QString OpenFailed = QStringLiteral("次のアドレスを開けませんでした。\n%1\n\n%2");

// Reasons an address could not be opened. %1 the opening program (xdg-open), %2 the
// system's reason
inline const QString OpenerNotStarted = QStringLiteral("%1 を起動できませんでした。(%2)");
inline const QString OpenerBadArguments =
    QStringLiteral("開くためのプログラムがアドレスを受け付けませんでした。");
inline const QString OpenerNoSuchFile = QStringLiteral("指定されたファイルがありません。");
inline const QString OpenerNoProgram = QStringLiteral("開くためのプログラムが見つかりません。");
inline const QString OpenerActionFailed =
    QStringLiteral("開くためのプログラムが処理に失敗しました。");
// %1 the exit code
inline const QString OpenerExitCode =
    QStringLiteral("開くためのプログラムが終了コード %1 で失敗しました。");
// %1 the opening program
inline const QString OpenerCrashed = QStringLiteral("%1 が途中で異常終了しました。");
// %1 the opening program, %2 what it wrote
inline const QString OpenerOutput = QStringLiteral("%1 の出力:\n%2");
// Reasons Windows gives for an address it could not open. %1 the value ShellExecute returned
inline const QString OpenerAccessDenied = QStringLiteral("開くことが許可されていません。");
inline const QString OpenerOutOfMemory = QStringLiteral("メモリが足りません。");
inline const QString OpenerShellFailed =
    QStringLiteral("Windows が開けませんでした。(ShellExecute の戻り値 %1)");

// File failures: %1 the file's path, %2 the reason
inline const QString FileReadFailed =
    QStringLiteral("データファイルを読み込めませんでした。\n%1\n\n%2\n\n"
                   "ファイルは変更していません。プログラムを終了します。");
inline const QString FileWriteFailed =
    QStringLiteral("ファイルに書き込めませんでした。\n%1\n\n%2\n\n"
                   "ファイルは書き込み前の状態のままです。プログラムを終了します。");
inline const QString CommitWriteFailed =
    QStringLiteral("ファイルに書き込めませんでした。\n%1\n\n%2\n\n"
                   "ファイルは書き込み前の状態のままで、この変更はまだ保存されていません。"
                   "原因を取り除いてからもう一度お試しください。");
// %1 the settings file's path, %2 the reason
inline const QString SettingsWriteFailed =
    QStringLiteral("設定を保存できませんでした。\n%1\n\n%2\n\n"
                   "ファイルも設定も変更していません。");
// %1 the data file's path, %2 the lock file's path
inline const QString AlreadyRunning =
    QStringLiteral("コファリーはすでに起動しています。\n%1\n\n"
                   "同じデータファイルを二つのウィンドウで開くことはできません。\n"
                   "起動していないはずなら、次のファイルを削除してから起動してください。\n%2");
// %1 the lock file's path, %2 the system's reason
inline const QString LockNotWritten =
    QStringLiteral("ロックファイルを書き込めませんでした。\n%1\n\n%2\n\n"
                   "ロックがないと同じデータファイルを二つのコファリーで開いてしまうため、"
                   "起動しません。原因を取り除いてから起動してください。");
// %1 the other computer's name, %2 the lock file's path
inline const QString LockOfOtherHost = QStringLiteral(
    "このデータファイルは、別のコンピューター (%1) のコファリーが使用中です。\n%2\n\n"
    "そのコンピューターでコファリーが動いていないことを確かめてください。\n"
    "このまま起動しますか？");
// %1 the data file's path, %2 the backup's path
inline const QString RestoreQuestion =
    QStringLiteral("データファイルがありません。\n%1\n\n"
                   "バックアップから復元しますか？\n%2\n\n"
                   "「いいえ」を選ぶと、何も書き込まずに終了します。");
// %1 the data file's path, %2 why it cannot be read, %3 the backup's path
inline const QString OpenBackupQuestion =
    QStringLiteral("データファイルを読み込めませんでした。\n%1\n\n%2\n\n"
                   "バックアップは読み込めます。代わりにバックアップを開きますか？\n%3\n\n"
                   "「はい」を選ぶと、読み込めなかったファイルは名前の後ろに日付と時刻を付けて "
                   "(Cofferly.Dat.20261208-091500 のように) 残し、バックアップの内容で"
                   "開きます。バックアップの後の変更は、残したファイルにしかありません。\n"
                   "「いいえ」を選ぶと、何も書き込まずに終了します。");
// %1 the data file's path
inline const QString ConvertFromUtf8Question =
    QStringLiteral("データファイルは、メモ帳などのエディターで UTF-8 として保存されたようです。"
                   "\n%1\n\n"
                   "コファリーの形式 (シフトJIS) に戻して開きますか？\n"
                   "UTF-8 のファイルは、名前の後ろに日付と時刻を付けて "
                   "(Cofferly.Dat.20261208-091500 のように) 残します。\n"
                   "「いいえ」を選ぶと、何も書き込まずに終了します。\n\n"
                   "エディターで直すときは、文字コードに「ANSI」または「Shift_JIS」を"
                   "選んで保存してください。");
// %1 the data file's path, %2 the names the other versions were kept under, one a line
inline const QString OtherVersionKept = QStringLiteral(
    "データファイルは、読み込んだ後にほかのプログラムによって変更されていました。\n%1\n\n"
    "変更されていた内容は、次の名前のファイルに残してあります。\n%2");
// %1 the data file's path, %2 the names the caught versions were kept under, one a line
inline const QString OtherVersionCaught =
    QStringLiteral("保存の瞬間に、ほかのプログラムがデータファイルを書き込んでいました。\n%1\n\n"
                   "そのとき置かれていた内容は、次の名前のファイルに残してあります。"
                   "書き込みの途中だったため、一部しかないかもしれません。\n%2");
// %1 the data file's path, %2 the name the program's own last save was kept under
inline const QString OwnVersionKept = QStringLiteral(
    "データファイルは、ほかのプログラムによって置き換えられていたため、書き込みませんでした。\n"
    "%1\n\n"
    "コファリーで最後に保存した内容は、次の名前のファイルに残してあります。\n%2");

// Refusing to start in an unsafe folder: %1 the folder or the file
inline const QString FolderOfAnotherUser =
    QStringLiteral("このフォルダーはほかのユーザーのものです。\n%1\n\n"
                   "パスワードを守るため、コファリーは自分のフォルダーでしか起動しません。"
                   "コファリーを自分のフォルダーに移してから起動してください。");
extern const QString FolderWritableByOthers; // per system: texts_unix.cpp, _win.cpp
extern const QString UnsafeFolderAbove;      // per system: texts_unix.cpp, _win.cpp
inline const QString FileOfAnotherUser =
    QStringLiteral("コファリーのファイルがほかのユーザーのものです。\n%1\n\n"
                   "パスワードを守るため、このままでは起動しません。"
                   "ファイルの所有者を自分に変えるか (chown)、フォルダーの外へ移してから"
                   "起動してください。");
// %1 the link, %2 the file it leads to
inline const QString LinkToAnotherUsersFile =
    QStringLiteral("フォルダーに、ほかのユーザーのファイルへのリンクがあります。\n%1\n→ %2\n\n"
                   "パスワードを守るため、このままでは起動しません。"
                   "リンクを削除するか、フォルダーの外へ移してから起動してください。");
// %1 the link, %2 the missing file it names
inline const QString LinkLeadsNowhere =
    QStringLiteral("フォルダーに、存在しないファイルへのリンクがあります。\n%1\n→ %2\n\n"
                   "保存するとリンク先にファイルが作られてしまうため、起動しません。"
                   "リンクを削除してから起動してください。");
// %1 the data file or the backup
extern const QString HardLinked; // per system: texts_unix.cpp, _win.cpp
// %1 the lock file
inline const QString LockNotRegular =
    QStringLiteral("ロックファイルが通常のファイルではありません (パイプ、デバイスなど)。\n%1\n\n"
                   "このままでは起動できません。これを削除してから起動してください。");
// %1 the program file
extern const QString ProgramOpenToOthers; // per system: texts_unix.cpp, _win.cpp
// %1 the folder's name, as near as it can be shown
inline const QString NameNotShown =
    QStringLiteral("コファリーのフォルダーの名前に、文字として読めないバイトがあります。\n%1\n\n"
                   "同じように見える別のフォルダーと取り違えるおそれがあるため、起動しません。"
                   "フォルダーの名前を変えてから起動してください。");
// The program's own folder is the only fault and is the user's. %1 the folder
extern const QString MendFolderQuestion; // per system: texts_unix.cpp, _win.cpp
// %1 the folder, %2 the system's reason
inline const QString FolderNotMadePrivate =
    QStringLiteral("フォルダーのアクセス許可を変更できませんでした。\n%1\n\n%2\n\n"
                   "フォルダーは変更前のままです。起動しません。");
// %1 the folder
inline const QString DriveWithoutAccessControl =
    QStringLiteral("このフォルダーのあるドライブ (FAT、exFAT など) には、"
                   "アクセス許可の仕組みがありません。\n%1\n\n"
                   "このドライブを手にした人は誰でも、データファイルのパスワードを読めます。"
                   "このまま起動します。");
// %1 the folder or file, %2 the system's reason
inline const QString FolderNotExamined =
    QStringLiteral("次の場所を調べられませんでした。\n%1\n\n%2\n\n"
                   "フォルダーが安全か分からないため、起動しません。");

// %1 the files, one a line
extern const QString ModesTightened; // per system: texts_unix.cpp, _win.cpp

// Reasons a data file cannot be read whole or written
inline const QString ReasonUnstorableText =
    QStringLiteral("シフトJIS (コードページ 932) で保存できない文字があります。");
inline const QString ReasonNoConverter =
    QStringLiteral("この環境にはシフトJIS (コードページ 932) の変換機能がありません。");
inline const QString ReasonReadIncomplete =
    QStringLiteral("ファイルを最後まで読み込めませんでした。");
inline const QString ReasonNotRegularFile =
    QStringLiteral("通常のファイルではありません (デバイス、パイプなど)。");
// %1 the largest size a data file may have, in MiB
inline const QString ReasonTooLarge = QStringLiteral(
    "ファイルが大きすぎます (%1 MiB を超えています)。データファイルではありません。");
inline const QString ReasonFolderReplaced =
    QStringLiteral("起動した後に、このフォルダーが別のフォルダーに置き換えられています。"
                   "コファリーを起動し直してください。");
// %1 the largest size a settings file may have, in KiB
inline const QString ReasonNotSettings =
    QStringLiteral("設定ファイルとして読めません (UTF-8 のテキストでないか、%1 KiB を"
                   "超えています)。ファイルを直すか削除してから、もう一度お試しください。");
inline const QString ReasonLinkPutInPlace =
    QStringLiteral("起動した後に、このファイルがリンクに置き換えられています。"
                   "リンクを削除してからもう一度お試しください。");
// A reason the system gave, with what the user can do first: %1 the advice, %2 the
// system's own text
inline const QString SystemReasonWithAdvice = QStringLiteral("%1\n(%2)");
extern const QString ReasonReadOnly;     // per system: texts_unix.cpp, _win.cpp
extern const QString ReasonAccessDenied; // per system: texts_unix.cpp, _win.cpp
inline const QString ReasonDiskFull =
    QStringLiteral("ディスクの空き容量が足りません。"
                   "不要なファイルを削除して空きを作ってから、もう一度お試しください。");
extern const QString ReasonPathTooLong; // per system: texts_unix.cpp, _win.cpp
inline const QString ReasonInUse =
    QStringLiteral("ほかのプログラムがこのファイルを使用中です。"
                   "ファイルを開いているエディター、バックアップソフト、ウイルス対策ソフトなどが"
                   "終わるのを待つか、終了してから、もう一度お試しください。");
inline const QString FileEmpty = QStringLiteral("ファイルが空です。");
inline const QString FileCutInPosition =
    QStringLiteral("位置の記録の途中でファイルが終わっています。");
inline const QString FilePositionFields =
    QStringLiteral("1 行目の位置の記録に、数値が 2 つより多く書かれています。");
// %1 the place as FilePlaceInEntry or FilePlaceInPosition gives it
inline const QString FileCutInEntry = QStringLiteral("%1でファイルが終わっています。");
inline const QString FileStrayQuote =
    QStringLiteral("%1の、引用符 (\") で始まらない欄に引用符があります。");
inline const QString FileTextAfterQuote =
    QStringLiteral("%1で、閉じる引用符 (\") の後に文字があります。");
// %1 the line's number, %2 the entry's number
inline const QString FilePlaceInEntry = QStringLiteral("%1 行目 (%2 件目のデータ)");
// %1 the line's number
inline const QString FilePlaceInPosition = QStringLiteral("%1 行目 (位置の記録)");
// %1 how many entries a data file may hold
inline const QString FileTooManyEntries = QStringLiteral("データが %1 件を超えています。");
// %1 the line's number, %2 the byte offset
inline const QString FileNotCp932 = QStringLiteral(
    "%1 行目 (%2 バイト目) にシフトJIS (コードページ 932) として読めないバイトがあります。");
// Reasons an encrypted data file does not open. The seal cannot tell a wrong password
// from changed bytes, so one message says both.
inline const QString SealNotSealed =
    QStringLiteral("暗号化されたコファリーのデータファイルではありません。");
inline const QString SealCut =
    QStringLiteral("ファイルが途中で終わっています。暗号化されたデータファイルが壊れています。");
inline const QString SealUnknownVersion =
    QStringLiteral("このバージョンのコファリーでは開けない形式です。"
                   "新しいバージョンで作られたか、ファイルが壊れています。");
inline const QString SealNotOpened =
    QStringLiteral("パスワードが違うか、ファイルが壊れているか書き換えられています。");
inline const QString SealNoMemory =
    QStringLiteral("暗号化の鍵を作るためのメモリーが足りません。"
                   "ほかのプログラムを終了してから、もう一度お試しください。");
inline const QString ReasonLocked =
    QStringLiteral("ロックされています。パスワードを入力してロックを解除してください。");

// Search window (Ctrl+F)
inline const QString SearchWindowTitle = QStringLiteral("検索");
inline const QString SearchTextLabel = QStringLiteral("検索する文字(&S):");
inline const QString SearchTextTip =
    QStringLiteral("タイトル、ID、URLに含まれる文字を入力します (PWは検索しません)");
inline const QString SearchGroupColumn = QStringLiteral("グループ");

// Password generator (Ctrl+G)
inline const QString GeneratorWindowTitle = QStringLiteral("パスワード生成");
inline const QString GeneratorLength = QStringLiteral("長さ(&L):");
inline const QString GeneratorUpper = QStringLiteral("英大文字 A-Z(&U)");
inline const QString GeneratorLower = QStringLiteral("英小文字 a-z(&W)");
inline const QString GeneratorDigits = QStringLiteral("数字 0-9(&D)");
inline const QString GeneratorSymbols = QStringLiteral("記号 !#$%(&S)");
inline const QString GeneratorNoLookAlikes =
    QStringLiteral("見分けにくい文字 (l I 1 O 0) を使わない(&K)");
inline const QString GeneratorGroups = QStringLiteral("「-」で区切る(&G)");
// After the group size: "4 文字ごと"
inline const QString GeneratorGroupSuffix = QStringLiteral(" 文字ごと");
inline const QString GeneratorRedraw = QStringLiteral("作り直す(&N)");
inline const QString GeneratorTake = QStringLiteral("PWに入れる");
// %1 the bits, %2 the band's word
inline const QString GeneratorStrength = QStringLiteral("強さ: %1 ビット (%2)");
inline const QString StrengthWeak = QStringLiteral("弱い");
inline const QString StrengthFair = QStringLiteral("普通");
inline const QString StrengthStrong = QStringLiteral("強い");
inline const QString StrengthVeryStrong = QStringLiteral("とても強い");

// Sort window
inline const QString SortCaptionWindow = QStringLiteral("Cofferly データの並べ替え");
inline const QString ColumnTitle = QStringLiteral("タイトル");
inline const QString ColumnId = QStringLiteral("ＩＤ");
inline const QString ColumnPw = QStringLiteral("ＰＷ");
inline const QString ColumnUrl = QStringLiteral("ＵＲＬ");
inline const QString SaveButton = QStringLiteral("保　存");
inline const QString DiscardButton = QStringLiteral("破　棄");
inline const QString FileMenu = QStringLiteral("ﾌｧｲﾙ(&F)");
inline const QString SaveCloseItem = QStringLiteral("保存終了");
inline const QString CancelItem = QStringLiteral("破棄終了");
inline const QString EditMenu = QStringLiteral("編集(&E)");
inline const QString UpItem = QStringLiteral("上へ");
inline const QString DownItem = QStringLiteral("下へ");
inline const QString SaveQuestion = QStringLiteral("データが変更されています。保存しますか？");
// Also the title of the main window's CloseSaveQuestion
inline const QString SaveQuestionTitle = QStringLiteral("保存の確認");

// The settings dialog
inline const QString SettingsTitle = QStringLiteral("設定");
inline const QString ClearAfterLabel = QStringLiteral("クリップボードを消去するまで(&C):");
inline const QString SecondsSuffix = QStringLiteral(" 秒");
// The clearing time 0
inline const QString NeverCleared = QStringLiteral("消去しない");
inline const QString AllowCaptureLabel =
    QStringLiteral("画面のキャプチャーや共有にウィンドウを映す(&A)");
inline const QString LockAfterLabel = QStringLiteral("操作がないときロックするまで(&L):");
inline const QString LockAfterTip =
    QStringLiteral("暗号化しているときだけ、この時間キーもマウスも使わないとロックします");
inline const QString MinutesSuffix = QStringLiteral(" 分");
// The idle time 0
inline const QString NeverLocked = QStringLiteral("ロックしない");
// Exporting and importing CSV (the window's menu)
inline const QString ExportWarningTitle = QStringLiteral("書き出しの確認");
inline const QString ExportWarning =
    QStringLiteral("書き出すファイルには、すべてのパスワードが暗号化されずにそのまま書かれます。"
                   "ファイルを読める人は誰でもパスワードを読めます。\n\n"
                   "人と共有する場所には保存せず、使い終わったらすぐに削除してください。"
                   "表計算ソフトでは開かないでください。\n\n書き出しますか？");
inline const QString ExportDialogTitle = QStringLiteral("書き出し先");
inline const QString ExportKeePassXcFilter = QStringLiteral("KeePassXC 形式の CSV (*.csv)");
inline const QString ExportBitwardenFilter = QStringLiteral("Bitwarden 形式の CSV (*.csv)");
inline const QString ImportDialogTitle = QStringLiteral("読み込むファイル");
inline const QString ImportCsvFilter = QStringLiteral("CSV ファイル (*.csv)");
inline const QString ImportAnyFilter = QStringLiteral("すべてのファイル (*)");
// %1 the number of entries, %2 the file
inline const QString Exported = QStringLiteral("%1 件を書き出しました。\n%2");
// %1 the file, %2 the reason
inline const QString ExportFailed =
    QStringLiteral("書き出せませんでした。\n%1\n\n%2\n\nファイルは書き出し前の状態のままです。");
// %1 the file
inline const QString ExportOverOwnFile =
    QStringLiteral("このファイルには書き出せません。\n%1\n\nこのプログラムのデータファイルです。"
                   "別の名前を付けてください。");
// %1 the file, %2 the reason
inline const QString ImportFailed =
    QStringLiteral("読み込めませんでした。\n%1\n\n%2\n\n何も変更していません。");
// %1 the largest size, in KiB
inline const QString ImportTooLarge =
    QStringLiteral("ファイルが大きすぎます。読み込めるのは %1 KB までです。");
// %1 the line
inline const QString ImportBinary =
    QStringLiteral("CSV ファイルではありません。%1 行目に文字でないデータがあります。");
inline const QString ImportNotUtf8 = QStringLiteral(
    "%1 行目に UTF-8 として読めない文字があります。UTF-8 で保存した CSV を選んでください。");
inline const QString ImportOpenQuote =
    QStringLiteral("%1 行目で始まる引用符 (\") が最後まで閉じられていません。");
inline const QString ImportTextAfterQuote =
    QStringLiteral("%1 行目で、引用符 (\") で閉じた項目の後に文字が続いています。");
inline const QString ImportUnknownHeader =
    QStringLiteral("1 行目の見出しが KeePassXC 形式とも Bitwarden 形式とも違います。");
inline const QString ImportQuestionTitle = QStringLiteral("読み込みの確認");
// %1 the number of rows that come in
inline const QString ImportComing =
    QStringLiteral("%1 件を読み込みます。選択している項目の後ろに入り、"
                   "同じ名前のグループがすでにあれば、そのグループに入ります。");
// %1 the number of new group headings
inline const QString ImportNewHeadings =
    QStringLiteral("新しいグループの見出しを %1 件追加します。");
// %1 the table's capacity, %2 the rows left out
inline const QString ImportLeftOut = QStringLiteral(
    "登録できるのは見出しを含めて %1 件までのため、ファイルの残りの %2 件は読み込みません。");
// %1 the number of rows refused
inline const QString ImportRefusedRows = QStringLiteral("次の %1 行は読み込めません。");
// %1 rows refused but not listed
inline const QString ImportMoreRefused = QStringLiteral("ほか %1 行");
inline const QString ImportQuestion = QStringLiteral("読み込みますか？");
inline const QString ImportNothing = QStringLiteral("読み込める項目がありません。");
// A refused row: %1 the line, %2 why
inline const QString ImportRowRefused = QStringLiteral("%1 行目: %2");
inline const QString ImportFieldCount = QStringLiteral("項目の数が 1 行目と違います");
inline const QString ImportNotLogin = QStringLiteral("ログイン以外の項目です");
inline const QString ImportNoLoginData =
    QStringLiteral("ID、PW、URL がすべて空です (グループの見出しになってしまいます)");
// %1 the field, %2 the character as CharacterName gives it
inline const QString ImportUnstorable = QStringLiteral("%1に保存できない文字%2があります");
inline const QString GroupFieldName = QStringLiteral("グループ");

// The password dialogs: unlocking the encrypted data file, and setting its password
inline const QString PasswordCaption = QStringLiteral("パスワード");
inline const QString EncryptCaption = QStringLiteral("暗号化");
inline const QString PasswordLabel = QStringLiteral("パスワード:");
inline const QString NewPasswordLabel = QStringLiteral("新しいパスワード:");
inline const QString RepeatPasswordLabel = QStringLiteral("もう一度入力:");

// Standard message box buttons, Japanese whatever the system locale
inline const QString YesButton = QStringLiteral("はい(&Y)");
inline const QString NoButton = QStringLiteral("いいえ(&N)");
inline const QString OkButton = QStringLiteral("OK");
inline const QString CancelButton = QStringLiteral("キャンセル");

} // namespace Texts
