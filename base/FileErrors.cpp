#include "base/FileErrors.h"

#include <cerrno>
#include <cstring>

namespace {
struct TErrnoText {
    int code;
    const char16_t *text;
};
// The reasons a learner meets, by error number.
constexpr TErrnoText kErrnoTexts[] = {
    {ENOENT, u"ファイルまたはフォルダーがありません"},
    {EACCES, u"アクセスが許可されていません"},
    {EPERM, u"この操作は許可されていません"},
    {ENOSPC, u"ディスクの空きがありません"},
    {EFBIG, u"ファイルが大きすぎます（書き込める大きさの上限を超えました）"},
    {EDQUOT, u"ディスクの使用量の上限に達しました"},
    {EROFS, u"読み取り専用の場所です"},
    {EISDIR, u"フォルダーです"},
    {ENOTDIR, u"途中の名前がフォルダーではありません"},
    {EEXIST, u"同じ名前のものがすでにあります"},
    {ENAMETOOLONG, u"名前が長すぎます"},
    {EMFILE, u"開いているファイルが多すぎます"},
    {ENFILE, u"開いているファイルが多すぎます"},
    {EIO, u"ディスクの読み書きでエラーが起きました"},
    {EBUSY, u"ほかのプログラムが使用中です"},
    {EXDEV, u"別のディスクへは移せません"},
    {ENOTEMPTY, u"フォルダーが空ではありません"},
    {ELOOP, u"リンクが循環しています"},
};

QString KnownErrnoText(const QString &systemText)
{
    for (const TErrnoText &e : kErrnoTexts)
        if (systemText == QString::fromLocal8Bit(std::strerror(e.code)))
            return QString::fromUtf16(e.text);
    return {};
}
}

QString SystemErrorText(int code)
{
    for (const TErrnoText &e : kErrnoTexts)
        if (e.code == code)
            return QString::fromUtf16(e.text);
    return QStringLiteral("システムのエラー（%1）").arg(QString::fromLocal8Bit(std::strerror(code)));
}

QString FileErrorText(const QFileDevice &file)
{
    // Qt words the reason as the C library does; the common ones are said in
    // Japanese, the rest keep the system's text behind a Japanese one.
    const QString system = file.errorString();
    const QString known = KnownErrnoText(system);
    if (!known.isEmpty())
        return known;
    QString what;
    switch (file.error()) {
    case QFileDevice::ReadError: what = QStringLiteral("読み込めません"); break;
    case QFileDevice::WriteError: what = QStringLiteral("書き込めません"); break;
    case QFileDevice::OpenError: what = QStringLiteral("開けません"); break;
    case QFileDevice::PermissionsError: what = QStringLiteral("アクセス権を変えられません"); break;
    case QFileDevice::ResourceError: what = QStringLiteral("ディスクの空きかシステムの資源が足りません"); break;
    case QFileDevice::RenameError: what = QStringLiteral("名前を変えられません"); break;
    case QFileDevice::RemoveError: what = QStringLiteral("削除できません"); break;
    case QFileDevice::CopyError: what = QStringLiteral("コピーできません"); break;
    case QFileDevice::AbortError: what = QStringLiteral("中断されました"); break;
    case QFileDevice::TimeOutError: what = QStringLiteral("時間切れになりました"); break;
    case QFileDevice::PositionError: what = QStringLiteral("読み書きの位置を移せません"); break;
    case QFileDevice::ResizeError: what = QStringLiteral("大きさを変えられません"); break;
    case QFileDevice::NoError:
    case QFileDevice::FatalError:
    case QFileDevice::UnspecifiedError: what = QStringLiteral("ファイルの操作に失敗しました"); break;
    }
    if (system.isEmpty() || system == QStringLiteral("Unknown error"))
        return what;
    return what + QStringLiteral("（システムの説明: ") + system + QStringLiteral("）");
}
