#include "admin/StartupPassword.h"

#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "core/TextHelpers.h"
#include "platform/Registry.h"

namespace {

constexpr int MarkerLineIndex = 11;
constexpr int MarkerCharIndex = 7;
const QString PassName = QStringLiteral("PASS");

bool CarriedAsIs(unsigned char byte) {
    return byte >= 0x20 && byte != 0x7F && byte != '%';
}

} // namespace

QString PasswordMarkerPath(const QString &dbPath) {
    return dbPath + QStringLiteral("usertbl.DM");
}

bool ReadMarkerLines(const QString &dbPath, QStringList &lines, QString *error) {
    const QString path = PasswordMarkerPath(dbPath);
    QString reason;
    if (!TextFile::ReadLines(path, lines, &reason)) {
        if (error)
            *error = QStringLiteral("%1 を読み込めません。\n%2").arg(path, reason);
        return false;
    }
    if (lines.size() <= MarkerLineIndex) {
        if (error)
            *error = QStringLiteral("%1 の内容が正しくありません。").arg(path);
        return false;
    }
    return true;
}

PasswordMarker MarkerOf(const QStringList &lines) {
    const QString line = lines.value(MarkerLineIndex);
    if (line.size() <= MarkerCharIndex)
        return PasswordMarker::Unknown;
    if (line[MarkerCharIndex] == u'0')
        return PasswordMarker::On;
    if (line[MarkerCharIndex] == u'O')
        return PasswordMarker::Off;
    return PasswordMarker::Unknown;
}

QString MarkerLine(bool on) {
    QString line = QStringLiteral(
        "P3MARK-O5FECEB66FFC86F38D952786C6D696C79C2DBC239DD4E91B46729D73A27FB57E96B86B273FF34FCE"
        "19D6B804EFF5A3F5747ADA4EAA22F1D49C01E52DDB7875B4BD4735E3A265E16EEE03F59718B9B5D03019C0"
        "7D8B6C51F");
    line[MarkerCharIndex] = on ? u'0' : u'O';
    return line;
}

bool WriteMarker(const QString &dbPath, QStringList lines, bool on, QString *error) {
    lines[MarkerLineIndex] = MarkerLine(on);
    return TextFile::WriteLines(PasswordMarkerPath(dbPath), lines, error);
}

QString StoredPasswordText(const QString &password) {
    QString text;
    for (const char c : ScramblePassword(ShiftJis::Encode(password))) {
        const auto byte = static_cast<unsigned char>(c);
        if (CarriedAsIs(byte))
            text += QChar(byte);
        else
            text += QStringLiteral("%%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

QString PasswordFromStoredText(const QString &stored) {
    QByteArray bytes;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored[i] == u'%' && i + 2 < stored.size()) {
            bool ok = false;
            const int byte = stored.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                bytes += static_cast<char>(byte);
                i += 2;
                continue;
            }
        }
        bytes += static_cast<char>(stored[i].unicode() & 0xFF);
    }
    return ShiftJis::Decode(ScramblePassword(bytes));
}

bool PasswordKeyReadable() {
    return Registry::Examine() != Registry::FileState::Unreadable;
}

QString ReadStoredPassword() {
    return PasswordFromStoredText(Registry::ReadString(Registry::PasswordKey, PassName));
}

bool WriteStoredPassword(const QString &password) {
    return Registry::WriteString(Registry::PasswordKey, PassName,
                                 password.isEmpty() ? QString() : StoredPasswordText(password));
}

bool PasswordMatches(const QString &typed, const QString &stored) {
    return ShiftJis::NormalizeCrossMapping(typed) == stored;
}

bool StartupAsksPassword(std::optional<PasswordMarker> marker) {
    if (marker == PasswordMarker::On)
        return true;
    if (marker == PasswordMarker::Off)
        return false;
    return !PasswordKeyReadable() || !ReadStoredPassword().isEmpty();
}

QString TamperMessage() {
    return QStringLiteral(
        "住所録に対して不正な改ざんが検出されました。（パスワードの無効化を試みる、等）\r\n\r\n"
        "Adrovaを完全アンインストールして、\r\n再度インストールしてください。\r\n"
        "※完全アンインストールすると、入力されていた内容はすべて失われます。\r\n"
        "（完全アンインストールの手順は取扱説明書をご参照下さい）");
}

std::optional<QString> HeadlessOpeningRefusal(const QString &dbPath,
                                              const std::function<QString()> &typedPassword) {
    QStringList lines;
    QString error;
    if (!ReadMarkerLines(dbPath, lines, &error))
        return error;
    if (MarkerOf(lines) != PasswordMarker::On)
        return std::nullopt;
    if (!PasswordKeyReadable())
        return QStringLiteral("パスワード情報が正常に取得できません。");
    const QString stored = ReadStoredPassword();
    if (stored.isEmpty())
        return TamperMessage();
    if (!PasswordMatches(typedPassword(), stored))
        return QStringLiteral("パスワードが正しくありません。");
    return std::nullopt;
}
