#include "reports/engine/Snapshot.h"
#include "util/FileError.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace plavex::reports {

namespace {

const QByteArray kMagic = QByteArrayLiteral("PLAVEX-NDR\r\n");
constexpr quint16 kVersion = 1;
constexpr int kHashSize = 20; // SHA-1: damage, not tampering, is what it catches

void configure(QDataStream &s)
{
    s.setVersion(QDataStream::Qt_6_0);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

void put(QDataStream &s, const Font &f) { s << f.size << f.bold << f.italic << quint32(f.color); }
void put(QDataStream &s, const Pen &p) { s << quint32(p.color) << p.style << p.width << quint8(p.mode); }
void put(QDataStream &s, const Brush &b) { s << quint32(b.color) << b.style; }

void get(QDataStream &s, Font &f)
{
    quint32 c = 0;
    s >> f.size >> f.bold >> f.italic >> c;
    f.color = c;
}
void get(QDataStream &s, Pen &p)
{
    quint32 c = 0;
    quint8 mode = 0;
    s >> c >> p.style >> p.width >> mode;
    p.color = c;
    p.mode = mode <= quint8(PenMode::NotCopy) ? static_cast<PenMode>(mode) : PenMode::Copy;
}
void get(QDataStream &s, Brush &b)
{
    quint32 c = 0;
    s >> c >> b.style;
    b.color = c;
}

QString damaged() { return QStringLiteral("Файлът е повреден и не може да бъде отворен."); }

} // namespace

QByteArray snapshotBytes(const Document &doc)
{
    QByteArray payload;
    {
        QDataStream s(&payload, QIODevice::WriteOnly);
        configure(s);
        const PageSetup &p = doc.setup;
        s << doc.title << p.paperWidth << p.paperHeight << quint8(p.orientation) << p.marginLeft << p.marginTop
          << p.marginRight << p.marginBottom << qint32(p.copies) << qint32(p.zoom) << doc.finished;
        s << quint32(doc.images.size());
        for (const QByteArray &image : doc.images)
            s << image;
        s << quint32(doc.pages.size());
        for (const Page &page : doc.pages) {
            s << quint32(page.ops.size());
            for (const Op &op : page.ops) {
                // Each kind keeps only what it draws with.
                s << quint8(op.kind) << op.x << op.y;
                switch (op.kind) {
                case Op::Kind::Text:
                    s << op.text;
                    put(s, op.font);
                    s << quint8(op.align) << op.anchor;
                    break;
                case Op::Kind::Line:
                    s << op.x2 << op.y2;
                    put(s, op.pen);
                    break;
                case Op::Kind::Rect:
                    s << op.x2 << op.y2;
                    put(s, op.pen);
                    put(s, op.brush);
                    break;
                case Op::Kind::FillRect:
                    s << op.x2 << op.y2;
                    put(s, op.brush);
                    break;
                case Op::Kind::Image:
                    s << op.x2 << op.y2 << qint32(op.image);
                    break;
                }
            }
        }
    }
    // Table pages repeat themselves: compressed they take a tenth.
    payload = qCompress(payload, 6);
    QByteArray out = kMagic;
    QDataStream s(&out, QIODevice::Append);
    configure(s);
    s << kVersion << quint32(payload.size());
    out += payload;
    out += QCryptographicHash::hash(payload, QCryptographicHash::Sha1);
    return out;
}

std::optional<Document> documentFromSnapshot(const QByteArray &bytes, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<Document> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!bytes.startsWith(kMagic))
        return fail(QStringLiteral("Файлът не е запис на отчет (.ndr) от тази програма."));
    QDataStream head(bytes.mid(kMagic.size(), 6));
    configure(head);
    quint16 version = 0;
    quint32 length = 0;
    head >> version >> length;
    if (head.status() != QDataStream::Ok)
        return fail(damaged());
    if (version > kVersion)
        return fail(QStringLiteral("Файлът е записан от по-нова версия на програмата."));
    const qsizetype start = kMagic.size() + 6;
    if (bytes.size() != start + qsizetype(length) + kHashSize)
        return fail(damaged());
    const QByteArray packed = bytes.mid(start, length);
    if (QCryptographicHash::hash(packed, QCryptographicHash::Sha1) != bytes.right(kHashSize))
        return fail(damaged());
    const QByteArray payload = qUncompress(packed);
    if (payload.isEmpty())
        return fail(damaged());

    Document doc;
    QDataStream s(payload);
    configure(s);
    PageSetup &p = doc.setup;
    quint8 orientation = 0;
    qint32 copies = 0, zoom = 0;
    s >> doc.title >> p.paperWidth >> p.paperHeight >> orientation >> p.marginLeft >> p.marginTop >> p.marginRight
        >> p.marginBottom >> copies >> zoom >> doc.finished;
    p.orientation = orientation ? Orientation::Landscape : Orientation::Portrait;
    p.copies = copies;
    p.zoom = zoom;
    quint32 images = 0;
    s >> images;
    // Counts are checked against what is left, so a wrong one cannot make
    // us reserve memory the file does not hold.
    if (s.status() != QDataStream::Ok || images > payload.size())
        return fail(damaged());
    for (quint32 i = 0; i < images; ++i) {
        QByteArray image;
        s >> image;
        doc.images.push_back(image);
    }
    quint32 pages = 0;
    s >> pages;
    if (s.status() != QDataStream::Ok || pages > payload.size())
        return fail(damaged());
    doc.pages.resize(pages);
    for (Page &page : doc.pages) {
        quint32 ops = 0;
        s >> ops;
        if (s.status() != QDataStream::Ok || ops > payload.size())
            return fail(damaged());
        page.ops.resize(ops);
        for (Op &op : page.ops) {
            quint8 kind = 0, align = 0;
            qint32 image = -1;
            s >> kind >> op.x >> op.y;
            if (kind > quint8(Op::Kind::Image))
                return fail(damaged());
            op.kind = static_cast<Op::Kind>(kind);
            switch (op.kind) {
            case Op::Kind::Text:
                s >> op.text;
                get(s, op.font);
                s >> align >> op.anchor;
                break;
            case Op::Kind::Line:
                s >> op.x2 >> op.y2;
                get(s, op.pen);
                break;
            case Op::Kind::Rect:
                s >> op.x2 >> op.y2;
                get(s, op.pen);
                get(s, op.brush);
                break;
            case Op::Kind::FillRect:
                s >> op.x2 >> op.y2;
                get(s, op.brush);
                break;
            case Op::Kind::Image:
                s >> op.x2 >> op.y2 >> image;
                if (image < 0 || image >= qint32(doc.images.size()))
                    return fail(damaged());
                break;
            }
            if (align > quint8(Justify::Right))
                return fail(damaged());
            op.align = static_cast<Justify>(align);
            op.image = op.kind == Op::Kind::Image ? image : -1;
        }
    }
    if (s.status() != QDataStream::Ok || !s.atEnd())
        return fail(damaged());
    return doc;
}

bool writeSnapshot(const QByteArray &bytes, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = util::fileErrorText(file);
        return false;
    }
    return true;
}

std::optional<Document> readSnapshot(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Файлът %1 не може да бъде отворен.").arg(QFileInfo(path).fileName());
        return std::nullopt;
    }
    return documentFromSnapshot(file.readAll(), error);
}

} // namespace plavex::reports
