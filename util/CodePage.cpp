#include "util/CodePage.h"

#include <QStringDecoder>

#include <array>

namespace plavex::util {

namespace {

// Unicode of the bytes 0x80..0xFF; 0x98 has no character and keeps its value.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

using ByteTable = std::array<unsigned char, 256>;

// DOS letters А..я sit at 0x80..0xBF, 0x40 below their Windows bytes, and
// "№" at 0xD5. Other DOS bytes stay as they are: old data files may already
// hold Windows letters there.
constexpr ByteTable makeDosToCp1251()
{
    ByteTable t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<unsigned char>(b >= 0x80 && b <= 0xBF ? b + 0x40 : b);
    t[0xD5] = 0xB9;
    return t;
}

// The reverse. Windows bytes 0x80..0xBF other than "№" (quotes „“«», dashes,
// Ђ, Ї ...) have no DOS byte; kept as they are they would read as DOS
// letters ("„" as "Д"), so they become "?", and a no-break space a blank.
constexpr ByteTable makeCp1251ToDos()
{
    ByteTable t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<unsigned char>(b >= 0xC0 ? b - 0x40 : b >= 0x80 ? '?' : b);
    t[0xB9] = 0xD5;
    t[0xA0] = ' ';
    return t;
}

constexpr ByteTable kDosToCp1251 = makeDosToCp1251();
constexpr ByteTable kCp1251ToDos = makeCp1251ToDos();

} // namespace

QString fromCp1251(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(b < 0x80 ? QChar(b) : QChar(kCp1251High[b - 0x80]));
    }
    return out;
}

QString cp1251Problem(const QByteArray &bytes)
{
    // UTF-8 first: its Cyrillic letters hold the byte 0x98 too.
    if (isUtf8Cyrillic(bytes))
        return QStringLiteral("файлът е в кодировка UTF-8, а се очаква Windows-1251");
    if (const qsizetype at = bytes.indexOf('\x98'); at >= 0) {
        const qsizetype line = bytes.left(at).count('\n') + 1;
        return QStringLiteral("ред %1 съдържа байт, който не е знак от кодовата таблица Windows-1251").arg(line);
    }
    return {};
}

bool isUtf8Cyrillic(const QByteArray &bytes)
{
    bool high = false;
    for (const char ch : bytes)
        high = high || static_cast<unsigned char>(ch) >= 0x80;
    if (!high)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return false;
    for (const QChar c : text)
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF)
            return true;
    return false;
}

QByteArray toCp1251(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        if (u >= 0x0410 && u <= 0x044F) { // А..я, the common case
            out.append(static_cast<char>(0xC0 + (u - 0x0410)));
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 128; ++i) {
            if (kCp1251High[i] == u) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.append(byte);
    }
    return out;
}

QByteArray dosToCp1251(const QByteArray &dos)
{
    QByteArray out = dos;
    for (char &ch : out)
        ch = static_cast<char>(kDosToCp1251[static_cast<unsigned char>(ch)]);
    return out;
}

QByteArray cp1251ToDos(const QByteArray &windows)
{
    QByteArray out = windows;
    for (char &ch : out)
        ch = static_cast<char>(kCp1251ToDos[static_cast<unsigned char>(ch)]);
    return out;
}

} // namespace plavex::util
