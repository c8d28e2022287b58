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
#include <vector>

using namespace Qt::Literals::StringLiterals;
using Problem = FolderCheck::Problem;

namespace {

std::vector<BYTE> Sid(WELL_KNOWN_SID_TYPE type)
{
    DWORD size = SECURITY_MAX_SID_SIZE;
    std::vector<BYTE> sid(size);
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size))
        return {};
    sid.resize(size);
    return sid;
}

// A list of two entries: full control for the creator, and `rights` for `group` (on
// what is inside only, when `inheritOnly`).
std::vector<BYTE> List(WELL_KNOWN_SID_TYPE group, ACCESS_MASK rights, bool inheritOnly = false)
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
        QTest::addColumn<int>("group"); // -1: no list at all
        QTest::addColumn<int>("rights");
        QTest::addColumn<bool>("inheritOnly");
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("replaceWithin");
        const int users = WinBuiltinUsersSid, everyone = WinWorldSid,
                  authenticated = WinAuthenticatedUserSid, guests = WinBuiltinGuestsSid;
        const int readExecute = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
        QTest::newRow("Users read") << users << readExecute << false << true << false << false;
        QTest::newRow("Everyone adds a file")
            << everyone << int(FILE_ADD_FILE) << false << false << true << false;
        QTest::newRow("Authenticated Users, generic write")
            << authenticated << int(GENERIC_WRITE) << false << false << true << false;
        QTest::newRow("Users delete inside")
            << users << int(FILE_DELETE_CHILD) << false << false << true << true;
        QTest::newRow("Everyone rewrites the list")
            << everyone << int(WRITE_DAC) << false << false << true << true;
        QTest::newRow("Everyone, generic all")
            << everyone << int(GENERIC_ALL) << false << true << true << true;
        QTest::newRow("new folders only, as a drive's root")
            << authenticated << int(FILE_ADD_SUBDIRECTORY) << false << false << true << false;
        QTest::newRow("modify, for what is inside only")
            << authenticated << int(FILE_GENERIC_WRITE | DELETE) << true << false << false << false;
        QTest::newRow("another group writes")
            << guests << int(GENERIC_ALL) << false << false << false << false;
        QTest::newRow("no list at all") << -1 << 0 << false << true << true << true;
    }
    void accessListDecides()
    {
        QFETCH(int, group);
        QFETCH(int, rights);
        QFETCH(bool, inheritOnly);
        std::vector<BYTE> list;
        if (group >= 0)
            list = List(WELL_KNOWN_SID_TYPE(group), ACCESS_MASK(rights), inheritOnly);
        QVERIFY(group < 0 || !list.empty());
        const OthersMay may =
            WhatOthersMay(group < 0 ? nullptr : reinterpret_cast<ACL*>(list.data()));
        QTEST(may.read, "read");
        QTEST(may.change, "change");
        QTEST(may.replaceWithin, "replaceWithin");
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

    void filesOthersMayReadAreMadePrivate()
    {
        ProgramDir dir;
        dir.writeData("0,0\r\n");
        QVERIFY(SystemFiles::LetEveryoneRead(dir.dataPath()));
        auto tightened = TightenFileModes(dir.path());
        QVERIFY(As<QStringList>(tightened));
        QCOMPARE(*As<QStringList>(tightened), QStringList{dir.dataPath()});
        QVERIFY(SystemFiles::OwnerOnly(dir.dataPath()));
        tightened = TightenFileModes(dir.path());
        QCOMPARE(*As<QStringList>(tightened), QStringList{});
    }

    void aSecondNameIsRefused()
    {
        ProgramDir dir;
        dir.writeData("0,0\r\n");
        const std::wstring from = QDir::toNativeSeparators(dir.dataPath()).toStdWString();
        const std::wstring to =
            QDir::toNativeSeparators(dir.path() + u"/elsewhere"_s).toStdWString();
        QVERIFY(CreateHardLinkW(to.c_str(), from.c_str(), nullptr));
        const FolderCheck check = CheckDataFolder(dir.path());
        QCOMPARE(check.problem, Problem::HardLinked);
        QCOMPARE(check.path, dir.dataPath());
    }
};

QTEST_GUILESS_MAIN(TestFolderGuardWin)
#include "tst_folder_guard_win.moc"
