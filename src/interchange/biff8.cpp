// The Excel 97-2003 workbook writer: a BIFF8 "Workbook" stream with one
// sheet whose cells are all texts from the shared string table, wrapped in
// a compound file (the OLE2 container Excel reads).

#include "tablefile.h"

#include <QHash>
#include <QtEndian>

namespace TableFile {

namespace {

constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kEnd = 0xFFFFFFFE;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr int kSector = 512;
constexpr int kMaxRecord = 8224;

void put8(QByteArray& b, quint8 v) { b.append(char(v)); }
void put16(QByteArray& b, quint16 v) { put8(b, v & 0xFF); put8(b, v >> 8); }
void put32(QByteArray& b, quint32 v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }
void set32(QByteArray& b, int at, quint32 v) { qToLittleEndian<quint32>(v, b.data() + at); }

void putUtf16(QByteArray& b, const QString& s)
{
    for (QChar c : s)
        put16(b, c.unicode());
}

void record(QByteArray& stream, quint16 type, const QByteArray& data)
{
    put16(stream, type);
    put16(stream, quint16(data.size()));
    stream += data;
}

QByteArray bof(quint16 kind)
{
    QByteArray d;
    put16(d, 0x0600);
    put16(d, kind);
    put16(d, 0x0DBB);
    put16(d, 0x07CC);
    put32(d, 0);
    put32(d, 0x06);
    return d;
}

// The shared string table, split into CONTINUE records where it grows past
// the record size; a text split across records repeats its option byte.
void sstRecords(QByteArray& stream, const QStringList& strings, quint32 total)
{
    QList<QByteArray> parts;
    QByteArray cur;
    put32(cur, total);
    put32(cur, quint32(strings.size()));
    for (const QString& s : strings) {
        if (cur.size() + 5 > kMaxRecord) { // header plus one character
            parts << cur;
            cur.clear();
        }
        put16(cur, quint16(s.size()));
        put8(cur, 0x01); // uncompressed UTF-16
        int i = 0;
        while (i < s.size()) {
            if (cur.size() + 2 > kMaxRecord) {
                parts << cur;
                cur.clear();
                put8(cur, 0x01);
            }
            put16(cur, s.at(i).unicode());
            ++i;
        }
    }
    parts << cur;
    for (int i = 0; i < parts.size(); ++i)
        record(stream, i == 0 ? 0x00FC : 0x003C, parts.at(i));
}

QByteArray workbookStream(const Rows& rows, int columns)
{
    // Shared strings and the cells that use them.
    QStringList strings;
    QHash<QString, quint32> index;
    quint32 total = 0;
    struct Cell { quint16 row, col; quint32 sst; };
    QList<Cell> cells;
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            QString s = rows.at(r).at(c);
            if (s.isEmpty())
                continue;
            if (s.size() > 32767) // the longest text a cell holds
                s.truncate(32767);
            auto it = index.find(s);
            if (it == index.end()) {
                it = index.insert(s, quint32(strings.size()));
                strings << s;
            }
            ++total;
            cells.append({quint16(r), quint16(c), it.value()});
        }
    }

    QByteArray w;
    record(w, 0x0809, bof(0x0005));
    { QByteArray d; put16(d, 1200); record(w, 0x0042, d); }            // CODEPAGE: UTF-16
    { QByteArray d; put16(d, 0x0000); put16(d, 0x0000); put16(d, 0x4000); put16(d, 0x2000);
      put16(d, 0x0038); put16(d, 0); put16(d, 0); put16(d, 1); put16(d, 0x0258); record(w, 0x003D, d); } // WINDOW1
    { QByteArray d; put16(d, 0); record(w, 0x0022, d); }               // DATEMODE 1900
    for (int i = 0; i < 5; ++i) {                                        // FONT (index 4 is never used)
        QByteArray d;
        put16(d, 200); put16(d, 0); put16(d, 0x7FFF); put16(d, 400); put16(d, 0);
        put8(d, 0); put8(d, 0); put8(d, 0x86); put8(d, 0);               // GB2312 character set
        const QString name = QStringLiteral("宋体");
        put8(d, quint8(name.size())); put8(d, 0x01); putUtf16(d, name);
        record(w, 0x0031, d);
    }
    for (int i = 0; i < 16; ++i) {                                       // XF: 15 style records, 1 cell record
        QByteArray d;
        const bool style = i < 15;
        put16(d, 0); put16(d, 0);
        put16(d, style ? 0xFFF5 : 0x0001);
        put8(d, 0x20); put8(d, 0); put8(d, 0); put8(d, style ? 0x00 : 0x00);
        put32(d, 0); put32(d, 0); put16(d, 0x20C0);
        record(w, 0x00E0, d);
    }
    { QByteArray d; put16(d, 0x8000); put8(d, 0); put8(d, 0xFF); record(w, 0x0293, d); } // STYLE "Normal"
    const int boundsheetAt = w.size();
    {
        QByteArray d;
        put32(d, 0); // position of the sheet's BOF, set below
        put8(d, 0); put8(d, 0);
        const QString name = QStringLiteral("Sheet1");
        put8(d, quint8(name.size())); put8(d, 0x00); d += name.toLatin1();
        record(w, 0x0085, d);
    }
    sstRecords(w, strings, total);
    record(w, 0x000A, QByteArray());                                     // EOF

    set32(w, boundsheetAt + 4, quint32(w.size()));
    record(w, 0x0809, bof(0x0010));
    {
        QByteArray d;
        put32(d, 0); put32(d, quint32(rows.size()));
        put16(d, 0); put16(d, quint16(columns)); put16(d, 0);
        record(w, 0x0200, d);                                            // DIMENSIONS
    }
    {
        QByteArray d;
        put16(d, 0x06B6); put16(d, 0); put16(d, 0); put32(d, 0x40);
        put16(d, 0); put16(d, 0); put32(d, 0);
        record(w, 0x023E, d);                                            // WINDOW2
    }
    for (const Cell& c : cells) {
        QByteArray d;
        put16(d, c.row); put16(d, c.col); put16(d, 15); put32(d, c.sst);
        record(w, 0x00FD, d);                                            // LABELSST
    }
    record(w, 0x000A, QByteArray());
    return w;
}

QByteArray compoundFile(QByteArray stream)
{
    // Streams below 4096 bytes would belong in the mini stream; padding the
    // workbook keeps everything in ordinary sectors (readers stop at EOF).
    if (stream.size() < 4096)
        stream.append(QByteArray(4096 - stream.size(), '\0'));
    const quint32 streamSize = quint32(stream.size());
    if (stream.size() % kSector)
        stream.append(QByteArray(kSector - stream.size() % kSector, '\0'));
    const quint32 n = quint32(stream.size() / kSector);
    const quint32 dirSector = n;
    quint32 fatCount = 1, difatCount = 0;
    for (;;) {
        const quint32 sectors = n + 1 + fatCount + difatCount;
        const quint32 needFat = (sectors + 127) / 128;
        const quint32 needDifat = needFat > 109 ? (needFat - 109 + 126) / 127 : 0;
        if (needFat == fatCount && needDifat == difatCount)
            break;
        fatCount = needFat;
        difatCount = needDifat;
    }
    const quint32 firstFat = n + 1;
    const quint32 firstDifat = firstFat + fatCount;

    QByteArray header;
    header += QByteArray::fromHex("D0CF11E0A1B11AE1");
    header += QByteArray(16, '\0');
    put16(header, 0x003E); put16(header, 0x0003); put16(header, 0xFFFE);
    put16(header, 9); put16(header, 6);
    header += QByteArray(6, '\0');
    put32(header, 0);           // directory sectors (version 3: 0)
    put32(header, fatCount);
    put32(header, dirSector);
    put32(header, 0);
    put32(header, 4096);
    put32(header, kEnd); put32(header, 0);                    // no mini FAT
    put32(header, difatCount ? firstDifat : kEnd); put32(header, difatCount);
    for (quint32 i = 0; i < 109; ++i)
        put32(header, i < fatCount ? firstFat + i : kFree);

    QByteArray dir;
    auto entry = [&dir](const QString& name, quint8 type, quint32 child, quint32 start, quint32 size) {
        QByteArray e;
        putUtf16(e, name);
        e.append(QByteArray(64 - e.size(), '\0'));
        put16(e, name.isEmpty() ? 0 : quint16((name.size() + 1) * 2));
        put8(e, type); put8(e, type ? 1 : 0);
        put32(e, kFree); put32(e, kFree); put32(e, child);
        e += QByteArray(16 + 4 + 8 + 8, '\0');
        put32(e, start); put32(e, size); put32(e, 0);
        dir += e;
    };
    entry(QStringLiteral("Root Entry"), 5, 1, kEnd, 0);
    entry(QStringLiteral("Workbook"), 2, kFree, 0, streamSize);
    entry(QString(), 0, kFree, 0, 0);
    entry(QString(), 0, kFree, 0, 0);

    QByteArray fat;
    for (quint32 i = 0; i < n; ++i)
        put32(fat, i + 1 < n ? i + 1 : kEnd);
    put32(fat, kEnd); // directory
    for (quint32 i = 0; i < fatCount; ++i)
        put32(fat, kFatSect);
    for (quint32 i = 0; i < difatCount; ++i)
        put32(fat, kDifSect);
    while (fat.size() < int(fatCount) * kSector)
        put32(fat, kFree);

    QByteArray difat;
    for (quint32 d = 0; d < difatCount; ++d) {
        for (quint32 k = 0; k < 127; ++k) {
            const quint32 f = 109 + d * 127 + k;
            put32(difat, f < fatCount ? firstFat + f : kFree);
        }
        put32(difat, d + 1 < difatCount ? firstDifat + d + 1 : kEnd);
    }
    return header + stream + dir + fat + difat;
}

} // namespace

bool xlsBytes(const Rows& rows, QByteArray* out, QString* why)
{
    int columns = 0;
    for (const QStringList& r : rows)
        columns = qMax(columns, int(r.size()));
    if (rows.size() > 65536 || columns > 256) {
        if (why)
            *why = QStringLiteral("more than 65536 rows or 256 columns");
        return false;
    }
    *out = compoundFile(workbookStream(rows, columns));
    return true;
}

} // namespace TableFile
