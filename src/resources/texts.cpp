#include "texts.h"

namespace Texts {

// The version comes from the build, which names it once for the whole program.
const QString MainCaption = QStringLiteral("ﾊﾟｽﾜｰﾄﾞ管理「ｺﾌｧﾘｰ」ver." COFFERLY_VERSION);

} // namespace Texts
