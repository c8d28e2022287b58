// CSV out and in: the exact bytes of both layouts, the rows and files an import refuses,
// where imported rows go, and a round trip through the window's menu handlers.
#include "store/csv_layouts.h"
#include "store/import_placement.h"
#include "support/system_files.h"
#include "support/window_driver.h"

#include <QFile>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using CsvLayouts::Layout;

namespace {

const QByteArray kKeePassHeader = R"("Group","Title","Username","Password","URL","Notes","TOTP",)"
                                  R"("Icon","Last Modified","Created")"
                                  "\r\n";
const QByteArray kBitwardenHeader = "folder,favorite,type,name,notes,fields,reprompt,login_uri,"
                                    "login_username,login_password,login_totp\r\n";

// What a read gives, in a few words: the problem, or each refusal and each row's group.
QString Outcome(const std::variant<CsvLayouts::Rows, CsvLayouts::Problem>& read)
{
    if (const auto* problem = std::get_if<CsvLayouts::Problem>(&read))
        return u"problem %1 %2 line %3"_s.arg(int(problem->kind))
            .arg(int(problem->kind == CsvLayouts::Problem::Kind::File ? int(problem->file.cause)
                                                                      : int(problem->csv.problem)))
            .arg(problem->csv.line);
    const auto& rows = std::get<CsvLayouts::Rows>(read);
    QStringList parts;
    for (const auto& r : rows.refused)
        parts << u"refused line %1 reason %2 field %3 U+%4"_s.arg(r.line)
                     .arg(int(r.reason))
                     .arg(r.field)
                     .arg(QString::number(uint(r.character), 16).rightJustified(4, u'0'));
    for (const auto& row : rows.rows)
        parts << u"row %1 [%2] %3"_s.arg(row.line).arg(row.group.value_or(u"-"_s), row.entry.title);
    return parts.join(u"; "_s);
}

QStringList Titles(const Entries& entries)
{
    QStringList titles;
    for (const Entry& e : entries)
        titles << (e.IsGroup() ? u"#"_s + e.title : e.title);
    return titles;
}

} // namespace

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void exportBytes_data();
    void exportBytes();
    void badInput_data();
    void badInput();
    void placement_data();
    void placement();
    void roundTripThroughTheWindow();
    void windowRefusals();
};

void TestCsv::exportBytes_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("KeePassXC") << int(Layout::KeePassXC)
                               << kKeePassHeader +
                                      R"("Root","メール","taro@example.jp","=1+2,-@x",)"
                                      R"("https://mail.example.jp/?a=1,b=2","","","","","")"
                                      "\r\n"
                                      R"("Root/銀行","ネット""バンク""","yamada","pa""ss",)"
                                      R"("https://bank.example.jp","","","","","")"
                                      "\r\n"
                                      R"("Root/銀行","メモ付き","id,with,commas","one)"
                                      "\r\n"
                                      R"(two","","","","","","")"
                                      "\r\n"_ba;
    QTest::newRow("Bitwarden")
        << int(Layout::Bitwarden)
        << kBitwardenHeader + R"(,,login,メール,,,0,"https://mail.example.jp/?a=1,b=2",)"
                              R"(taro@example.jp,"=1+2,-@x",)"
                              "\r\n"
                              R"(銀行,,login,"ネット""バンク""",,,0,https://bank.example.jp,)"
                              R"(yamada,"pa""ss",)"
                              "\r\n"
                              R"(銀行,,login,メモ付き,,,0,,"id,with,commas","one)"
                              "\r\n"
                              R"(two",)"
                              "\r\n"_ba;
}

void TestCsv::exportBytes()
{
    QFETCH(int, layout);
    QFETCH(QByteArray, expected);
    // A heading with no entry under it leaves no trace; one before the others' heading would.
    const Entries entries = {
        {u"メール"_s, u"taro@example.jp"_s, u"=1+2,-@x"_s, u"https://mail.example.jp/?a=1,b=2"_s},
        {u"空のグループ"_s, {}, {}, {}},
        {u"銀行"_s, {}, {}, {}},
        {u"ネット\"バンク\""_s, u"yamada"_s, u"pa\"ss"_s, u"https://bank.example.jp"_s},
        {u"メモ付き"_s, u"id,with,commas"_s, u"one\r\ntwo"_s, {}}};
    QCOMPARE(CsvLayouts::Format(entries, Layout(layout)), expected);
    // Read back, the texts the data file cannot hold are refused where they stand.
    QCOMPARE(Outcome(CsvLayouts::Read(expected)),
             u"refused line 3 reason 3 field 0 U+0022; refused line 4 reason 3 field 2 U+000d; "
             u"row 2 [-] メール"_s);
}

void TestCsv::badInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outcome");
    const QByteArray k = kKeePassHeader;
    const QByteArray b = kBitwardenHeader;
    const auto row = [](const char* r) { return QByteArray(r) + "\r\n"; };
    // Rows: each refused for its reason, the others read on.
    QTest::newRow("too few fields")
        << k + row(R"("Root","a","id")") << u"refused line 2 reason 0 field 0 U+0000"_s;
    QTest::newRow("not a login") << b + row(",,note,メモ,本文,,0,,,,")
                                 << u"refused line 2 reason 1 field 0 U+0000"_s;
    QTest::newRow("no ID, PW or URL") << k + row(R"("Root","見出し?","","","","n","","","","")")
                                      << u"refused line 2 reason 2 field 0 U+0000"_s;
    QTest::newRow("quote in PW") << k + row(R"("Root","t","i","p""w","u","","","","","")")
                                 << u"refused line 2 reason 3 field 2 U+0022"_s;
    QTest::newRow("line end in title")
        << b + row(",,login,\"a\nb\",,,0,u,i,p,") << u"refused line 2 reason 3 field 0 U+000a"_s;
    QTest::newRow("wave dash in ID") << k + row(R"("Root","t","a〜b","p","u","","","","","")")
                                     << u"refused line 2 reason 3 field 1 U+301c"_s;
    QTest::newRow("emoji in URL") << b + row(",,login,t,,,0,https://😀.jp,i,p,")
                                  << u"refused line 2 reason 3 field 3 U+1f600"_s;
    QTest::newRow("wave dash in group") << k + row(R"("Root/〜","t","i","p","u","","","","","")")
                                        << u"refused line 2 reason 3 field 4 U+301c"_s;
    QTest::newRow("good and bad") << b + row(",,card,c,,,0,,,,") + "\n" + row("G,,login,t,,,0,,i,,")
                                  << u"refused line 2 reason 1 field 0 U+0000; row 4 [G] t"_s;
    // Whole files: nothing comes in.
    QTest::newRow("binary") << k + "\x01\x00\x02"_ba << u"problem 1 0 line 2"_s;
    QTest::newRow("Shift_JIS") << b + ",,login,\x83\x81\x81\x5B\x83\x8B,,,0,,i,p,\r\n"_ba
                               << u"problem 1 1 line 2"_s;
    QTest::newRow("open quote") << k + row(R"("Root","t","i","p)") << u"problem 1 2 line 2"_s;
    QTest::newRow("text after quote")
        << k + row(R"("Root","t"x,"i","p","u","","","","","")") << u"problem 1 3 line 2"_s;
    QTest::newRow("unknown header")
        << "name,login,password\r\na,b,c\r\n"_ba << u"problem 2 0 line 0"_s;
    QTest::newRow("empty") << QByteArray() << u"problem 2 0 line 0"_s;
    QTest::newRow("too large") << QByteArray() << u"problem 0 2 line 0"_s;
    // A byte order mark, LF line ends and a blank last line are fine.
    QTest::newRow("BOM and LF") << "\xEF\xBB\xBF"_ba + kBitwardenHeader.chopped(2) +
                                       "\n,,login,t,,,0,,i,,\n\n"
                                << u"row 2 [-] t"_s;
}

void TestCsv::badInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.csv"_s);
    if (QByteArray(QTest::currentDataTag()) == "too large") {
        const QByteArray line = kKeePassHeader;
        bytes = line.repeated(int(CsvLayouts::kMaxImportSize / line.size()) + 1);
    }
    TestFiles::Write(path, bytes);
    QCOMPARE(Outcome(CsvLayouts::ReadFile(path)), outcome);
}

void TestCsv::placement_data()
{
    QTest::addColumn<QStringList>("table"); // "#" marks a heading
    QTest::addColumn<int>("k");
    QTest::addColumn<QStringList>("rows"); // "group:title", "-" for no group
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("selected");
    const QStringList table = {u"a"_s, u"#G"_s, u"g1"_s, u"g2"_s, u"#H"_s, u"h1"_s};
    QTest::newRow("own group after the selected entry")
        << table << 3 << QStringList{u"G:x"_s, u"G:y"_s}
        << QStringList{u"a"_s, u"#G"_s, u"g1"_s, u"x"_s, u"y"_s, u"g2"_s, u"#H"_s, u"h1"_s} << 3;
    QTest::newRow("other groups at their ends, new ones after the selected group")
        << table << 3 << QStringList{u"H:x"_s, u"-:y"_s, u"N:z"_s, u"N:w"_s}
        << QStringList{u"a"_s, u"y"_s, u"#G"_s, u"g1"_s, u"g2"_s, u"#N"_s,
                       u"z"_s, u"w"_s, u"#H"_s, u"h1"_s, u"x"_s}
        << 4;
    QTest::newRow("empty table") << QStringList() << 0 << QStringList{u"-:x"_s, u"N:y"_s}
                                 << QStringList{u"x"_s, u"#N"_s, u"y"_s} << 0;
}

void TestCsv::placement()
{
    QFETCH(QStringList, table);
    QFETCH(int, k);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, expected);
    QFETCH(int, selected);
    Entries entries;
    for (const QString& t : table)
        entries << (t.startsWith(u'#') ? Entry{t.mid(1), {}, {}, {}} : Entry{t, u"i"_s, {}, {}});
    QList<CsvLayouts::Row> read;
    for (const QString& r : rows) {
        const QString group = r.section(u':', 0, 0);
        read << CsvLayouts::Row{0, group == u"-"_s ? std::nullopt : std::optional(group),
                                Entry{r.section(u':', 1), u"i"_s, {}, {}}};
    }
    const auto placed = ImportPlacement::Place(entries, k, read);
    QCOMPARE(Titles(placed.entries), expected);
    QCOMPARE(placed.selected, selected);
    QCOMPARE(placed.taken, rows.size());

    // A full table takes rows only while they fit with their headings.
    const auto full = ImportPlacement::Place(TestFiles::Numbered(kEntryCapacity - 2), k, read);
    QVERIFY(full.entries.size() <= kEntryCapacity);
    QCOMPARE(full.left, rows.size() - full.taken);
}

// Exported in KeePassXC's layout through the menu, imported into a new program folder: the
// same titles, IDs, PWs, URLs and headings, after the new folder's own heading.
void TestCsv::roundTripThroughTheWindow()
{
    const QList<QStringList> entries = {
        {u"メール"_s, u"taro@example.jp"_s, u"=Pa,ss-1"_s, u"https://mail.example.jp/?a=1,b=2"_s},
        {u"銀行"_s, {}, {}, {}},
        {u"ﾈｯﾄﾊﾞﾝｸ"_s, u"山田"_s, u"@pw+2"_s, {}},
        {u""_s, {}, {}, {}},
        {u"無題の下"_s, u"id"_s, {}, u"ftp://x"_s}};
    MainWindowFixture from(entries);
    QTemporaryDir out;
    const QString path = out.filePath(u"export.csv"_s);
    from.desktop.answers = {MessageRequest::Answer::Yes};
    from.desktop.files = {{path, 0}};
    from.w->menu_Export_Click();
    QCOMPARE(from.desktop.messages.size(), 2); // the warning, then what was written
    QCOMPARE(TestFiles::Read(path), CsvLayouts::Format(from.w->Table(), Layout::KeePassXC));
    QVERIFY(SystemFiles::OwnerOnly(path));

    MainWindowFixture to(QList<QStringList>{{u"新規グループ"_s, {}, {}, {}}});
    to.desktop.files = {{path, 0}};
    to.w->menu_Import_Click();
    QCOMPARE(to.desktop.messages.size(), 1); // the question, answered by its default はい
    QList<QStringList> expected = entries;
    expected.insert(1, {u"新規グループ"_s, {}, {}, {}});
    QCOMPARE(TestFiles::AsLists(to.w->Table()), expected);
    QCOMPARE(to.dir.data(), TestFiles::Make(1500, 3000, expected));
    QCOMPARE(to.dir.backup(), to.before); // one save, with the backup of any change
    QCOMPARE(to.w->Controls().IComboTitle->SelectedIndex(), 2);
}

// Damaged input changes nothing; an export never writes over the program's own files.
void TestCsv::windowRefusals()
{
    MainWindowFixture f(TestFiles::NumberedEntries(3));
    TestFiles::Write(f.dir.path() + u"/broken.csv"_s, kKeePassHeader + "\"Root\",\"t");
    f.desktop.files = {{f.dir.path() + u"/broken.csv"_s, 0}};
    f.w->menu_Import_Click();
    QCOMPARE(f.desktop.messages.size(), 1);
    QVERIFY(f.desktop.messages[0].text.contains(u"2 行目"_s));
    QCOMPARE(f.dir.data(), f.before);

    f.desktop.answers = {MessageRequest::Answer::Yes};
    f.desktop.files = {{f.dir.dataPath(), 1}};
    f.w->menu_Export_Click();
    QCOMPARE(f.desktop.messages.size(), 3);
    QCOMPARE(f.dir.data(), f.before);

    // The warning answered いいえ asks for no file.
    f.w->menu_Export_Click();
    QCOMPARE(f.desktop.fileFilters.size(), 2);
}

QTEST_MAIN(TestCsv)
#include "tst_csv.moc"
