#include "sample_entries.h"

#include <QStringList>

namespace {

const QStringList kGroups = {
    QStringLiteral("■ 銀行・証券"), QStringLiteral("■ ショッピング"),
    QStringLiteral("■ 仕事"),       QStringLiteral("■ プロバイダ・メール"),
    QStringLiteral("■ 行政・保険"), QStringLiteral("■ 旅行・交通"),
    QStringLiteral("■ 趣味・SNS"),  QStringLiteral("■ 学校・資格"),
};

const QStringList kSites = {
    QStringLiteral("銀行ダイレクト"), QStringLiteral("通販モール"),
    QStringLiteral("社内ポータル"),   QStringLiteral("プロバイダ会員ページ"),
    QStringLiteral("行政ポータル"),   QStringLiteral("鉄道予約"),
    QStringLiteral("写真共有サイト"), QStringLiteral("資格試験 受験者ページ"),
    QStringLiteral("Online Bank"),    QStringLiteral("Mail (work)"),
};

const QStringList kHosts = {
    QStringLiteral("https://www.example-bank.co.jp/login/direct/index.html"),
    QStringLiteral("https://shop.example.jp/mypage/"),
    QStringLiteral("https://portal.example.com/sso/login?return=%2Fhome"),
    QStringLiteral("https://member.example-isp.ne.jp/account/"),
    QStringLiteral("https://myna.example.go.jp/"),
    QStringLiteral("https://travel.example.jp/reserve/login.aspx"),
};

} // namespace

Entries SampleEntries(int count)
{
    Entries entries;
    for (int i = 1; i <= count; ++i) {
        if (i % 10 == 1) {
            // a group heading: ID, PW and URL stay empty
            entries.append({kGroups[(i / 10) % kGroups.size()], {}, {}, {}});
            continue;
        }
        entries.append({QStringLiteral("%1 %2").arg(kSites[i % kSites.size()]).arg(i),
                        QStringLiteral("user.name%1@example.ne.jp").arg(i),
                        QStringLiteral("Kx7q-%1-Zr8w-Pm2d").arg(1000 + i * 37),
                        kHosts[i % kHosts.size()]});
    }
    return entries;
}
