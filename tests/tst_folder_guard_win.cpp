// The folder check on Windows decides from access lists. Wine does not enforce them, and
// keeps of a list only what a Unix mode can hold (what Everyone may do), so the decision is
// checked on lists built in memory, and the whole check on folders and files given lists
// Wine keeps.
#include "store/access_list_win.h"
#include "store/folder_guard.h"
#include "store/store_files.h"
#include "support/system_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <aclapi.h>
#include <sddl.h>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using Problem = FolderCheck::Problem;

namespace {

// Who a row names besides the well-known groups.
constexpr int kNoList = -1, kColleague = -2, kUser = -3;

std::vector<BYTE> Copy(PSID sid)
{
    return std::vector<BYTE>(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
}

std::vector<BYTE> Sid(int who)
{
    std::vector<BYTE> sid;
    if (who == kUser) { // from this process's token
        HANDLE token = nullptr;
        BYTE buffer[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
        DWORD size = sizeof(buffer);
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            if (GetTokenInformation(token, TokenUser, buffer, size, &size))
                sid = Copy(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
            CloseHandle(token);
        }
    } else if (who == kColleague) { // another account of a domain
        PSID colleague = nullptr;
        if (ConvertStringSidToSidW(L"S-1-5-21-7-8-9-1107", &colleague)) {
            sid = Copy(colleague);
            LocalFree(colleague);
        }
    } else {
        DWORD size = SECURITY_MAX_SID_SIZE;
        sid.resize(size);
        if (CreateWellKnownSid(WELL_KNOWN_SID_TYPE(who), nullptr, sid.data(), &size))
            sid.resize(size);
        else
            sid.clear();
    }
    return sid;
}

// A list of two entries: full control for the creator, and `rights` for `group` (on
// what is inside only, when `inheritOnly`).
std::vector<BYTE> List(int group, ACCESS_MASK rights, bool inheritOnly = false)
{
    const auto owner = Sid(WinCreatorOwnerSid), other = Sid(group);
    std::vector<BYTE> list(sizeof(ACL) + 2 * sizeof(ACCESS_ALLOWED_ACE) + owner.size() +
                           other.size());
    auto* acl = reinterpret_cast<ACL*>(list.data());
    const DWORD flags =
        inheritOnly ? CONTAINER_INHERIT_ACE | OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE : 0;
    if (!InitializeAcl(acl, DWORD(list.size()), ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, const_cast<BYTE*>(owner.data())) ||
        !AddAccessAllowedAceEx(acl, ACL_REVISION, flags, rights, const_cast<BYTE*>(other.data())))
        return {};
    return list;
}

bool GiveList(const QString& path, std::vector<BYTE> list)
{
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    return !list.empty() &&
           SetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, reinterpret_cast<ACL*>(list.data()),
                                 nullptr) == ERROR_SUCCESS;
}

} // namespace

class TestFolderGuardWin : public QObject {
    Q_OBJECT
private slots:
    void accessListDecides_data()
    {
        QTest::addColumn<int>("group"); // a well-known SID's type, or kNoList, kColleague, kUser
        QTest::addColumn<int>("owner"); // the same, or kNoList for none given
        QTest::addColumn<int>("rights");
        QTest::addColumn<bool>("inheritOnly");
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("replaceWithin");
        QTest::addColumn<bool>("ownedByOther");
        const int users = WinBuiltinUsersSid, everyone = WinWorldSid,
                  authenticated = WinAuthenticatedUserSid, guests = WinBuiltinGuestsSid;
        const int readExecute = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
        QTest::newRow("Users read")
            << users << kNoList << readExecute << false << true << false << false << false;
        QTest::newRow("Everyone adds a file") << everyone << kNoList << int(FILE_ADD_FILE) << false
                                              << false << true << false << false;
        QTest::newRow("Authenticated Users, generic write")
            << authenticated << kNoList << int(GENERIC_WRITE) << false << false << true << false
            << false;
        QTest::newRow("Users delete inside") << users << kNoList << int(FILE_DELETE_CHILD) << false
                                             << false << true << true << false;
        QTest::newRow("Everyone rewrites the list")
            << everyone << kNoList << int(WRITE_DAC) << false << false << true << true << false;
        QTest::newRow("Everyone, generic all")
            << everyone << kNoList << int(GENERIC_ALL) << false << true << true << true << false;
        QTest::newRow("new folders only, as a drive's root")
            << authenticated << kNoList << int(FILE_ADD_SUBDIRECTORY) << false << false << true
            << false << false;
        QTest::newRow("modify, for what is inside only")
            << authenticated << kNoList << int(FILE_GENERIC_WRITE | DELETE) << true << false
            << false << false << false;
        QTest::newRow("Guests write")
            << guests << kNoList << int(GENERIC_ALL) << false << true << true << true << false;
        const int interactive = WinInteractiveSid, system = WinLocalSystemSid,
                  administrators = WinBuiltinAdministratorsSid;
        QTest::newRow("INTERACTIVE appends") << interactive << kNoList << int(FILE_APPEND_DATA)
                                             << false << false << true << false << false;
        QTest::newRow("a colleague reads")
            << kColleague << kNoList << readExecute << false << true << false << false << false;
        QTest::newRow("a colleague takes the owner's place")
            << kColleague << kNoList << int(WRITE_OWNER) << false << false << true << true << false;
        QTest::newRow("the user, SYSTEM and Administrators may do anything")
            << kUser << kNoList << int(GENERIC_ALL) << false << false << false << false << false;
        QTest::newRow("SYSTEM") << system << system << int(GENERIC_ALL) << false << false << false
                                << false << false;
        QTest::newRow("owned by Administrators")
            << administrators << administrators << int(GENERIC_ALL) << false << false << false
            << false << false;
        QTest::newRow("owned by a colleague")
            << users << kColleague << readExecute << false << true << false << false << true;
        QTest::newRow("owned by the user")
            << users << kUser << 0 << false << false << false << false << false;
        QTest::newRow("no list at all")
            << kNoList << kNoList << 0 << false << true << true << true << false;
    }
    void accessListDecides()
    {
        QFETCH(int, group);
        QFETCH(int, owner);
        QFETCH(int, rights);
        QFETCH(bool, inheritOnly);
        std::vector<BYTE> list;
        if (group != kNoList)
            list = List(group, ACCESS_MASK(rights), inheritOnly);
        QVERIFY(group == kNoList || !list.empty());
        const std::vector<BYTE> ownerSid = owner == kNoList ? std::vector<BYTE>{} : Sid(owner);
        const OthersMay may =
            WhatOthersMay(group == kNoList ? nullptr : reinterpret_cast<ACL*>(list.data()),
                          ownerSid.empty() ? nullptr : ownerSid.data());
        QTEST(may.read, "read");
        QTEST(may.change, "change");
        QTEST(may.replaceWithin, "replaceWithin");
        QTEST(may.owner, "ownedByOther");
    }

    // Everyone's rights are what Wine keeps; each refusal names the folder.
    void foldersOthersMayChangeAreRefused()
    {
        QTemporaryDir above;
        const QString folder = above.path() + u"/Cofferly"_s;
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(CheckDataFolder(folder).problem, Problem::None);
        QVERIFY(GiveList(above.path(), List(WinWorldSid, GENERIC_ALL)));
        FolderCheck check = CheckDataFolder(folder);
        QCOMPARE(check.problem, Problem::UnsafeFolderAbove);
        QCOMPARE(QDir(check.path), QDir(above.path()));
        QVERIFY(GiveList(above.path(), List(WinWorldSid, FILE_GENERIC_READ)));
        QCOMPARE(CheckDataFolder(folder).problem, Problem::None);
        QVERIFY(GiveList(folder, List(WinWorldSid, FILE_ADD_FILE)));
        check = CheckDataFolder(folder);
        QCOMPARE(check.problem, Problem::FolderWritableByOthers);
        QCOMPARE(QDir(check.path), QDir(folder));
    }

    // The data file and the settings file alike.
    void filesOthersMayReadAreMadePrivate_data() { OwnFiles(); }
    void filesOthersMayReadAreMadePrivate()
    {
        QFETCH(QString, name);
        ProgramDir dir;
        const QString path = dir.path() + u'/' + name;
        TestFiles::Write(path, "0,0\r\n");
        QVERIFY(SystemFiles::LetEveryoneRead(path));
        auto tightened = TightenFileModes(dir.path());
        QVERIFY(As<QStringList>(tightened));
        QCOMPARE(*As<QStringList>(tightened), QStringList{path});
        QVERIFY(SystemFiles::OwnerOnly(path));
        tightened = TightenFileModes(dir.path());
        QCOMPARE(*As<QStringList>(tightened), QStringList{});
    }

    void aSecondNameIsRefused_data() { OwnFiles(); }
    void aSecondNameIsRefused()
    {
        QFETCH(QString, name);
        ProgramDir dir;
        const QString path = dir.path() + u'/' + name;
        TestFiles::Write(path, "0,0\r\n");
        const std::wstring from = QDir::toNativeSeparators(path).toStdWString();
        const std::wstring to =
            QDir::toNativeSeparators(dir.path() + u"/elsewhere"_s).toStdWString();
        QVERIFY(CreateHardLinkW(to.c_str(), from.c_str(), nullptr));
        const FolderCheck check = CheckDataFolder(dir.path());
        QCOMPARE(check.problem, Problem::HardLinked);
        QCOMPARE(check.path, path);
    }

private:
    static void OwnFiles()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("data file") << StoreFiles::Data;
        QTest::newRow("settings file") << StoreFiles::Settings;
    }
};

QTEST_GUILESS_MAIN(TestFolderGuardWin)
#include "tst_folder_guard_win.moc"
