#include "tablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <freexl.h>

#include <cstring>

namespace TableFile {

QString extensionOf(Kind k)
{
    switch (k) {
    case Kind::Html: return QStringLiteral(".htm");
    case Kind::Text: return QStringLiteral(".txt");
    case Kind::Xls: break;
    }
    return QStringLiteral(".xls");
}

bool kindOfName(const QString& fileName, Kind* k)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        *k = Kind::Html;
    else if (suffix == QLatin1String("txt"))
        *k = Kind::Text;
    else if (suffix == QLatin1String("xls"))
        *k = Kind::Xls;
    else
        return false;
    return true;
}

QString withExtension(const QString& fileName, Kind k)
{
    const QString ext = extensionOf(k);
    if (fileName.toLower().endsWith(ext))
        return fileName;
    return fileName + ext;
}

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GBK");
    if (gbk.isValid())
        return gbk.decode(bytes);
    return text;
}

// ---------------------------------------------------------------------------------
// Reading

namespace {

bool allEmpty(const QStringList& row)
{
    for (const QString& c : row)
        if (!c.isEmpty())
            return false;
    return true;
}

void addRow(Rows* rows, QStringList row)
{
    for (QString& c : row)
        c = c.trimmed();
    if (!allEmpty(row))
        rows->append(row);
}

QString decodeEntities(const QString& s)
{
    if (!s.contains(QLatin1Char('&')))
        return s;
    static const QRegularExpression re(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z]+);"));
    QString out;
    int last = 0;
    auto it = re.globalMatch(s);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += s.mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const QString name = m.captured(1);
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X")))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.mid(1).toUInt();
        else {
            static const QHash<QString, char32_t> named = {
                {QStringLiteral("amp"), '&'},     {QStringLiteral("lt"), '<'},     {QStringLiteral("gt"), '>'},
                {QStringLiteral("quot"), '"'},    {QStringLiteral("apos"), '\''},  {QStringLiteral("nbsp"), 0xA0},
                {QStringLiteral("copy"), 0xA9},   {QStringLiteral("yen"), 0xA5},   {QStringLiteral("middot"), 0xB7},
                {QStringLiteral("times"), 0xD7},  {QStringLiteral("ldquo"), 0x201C}, {QStringLiteral("rdquo"), 0x201D},
                {QStringLiteral("lsquo"), 0x2018}, {QStringLiteral("rsquo"), 0x2019}, {QStringLiteral("hellip"), 0x2026},
                {QStringLiteral("mdash"), 0x2014}, {QStringLiteral("ndash"), 0x2013},
            };
            code = named.value(name.toLower(), 0);
        }
        if (code == 0 || code > 0x10FFFF)
            out += m.captured(0); // unknown: kept as written
        else
            out += QString::fromUcs4(&code, 1);
    }
    out += s.mid(last);
    return out;
}

} // namespace

bool parseHtml(const QString& html, Rows* rows)
{
    rows->clear();
    static const QRegularExpression tableStart(QStringLiteral("<table\\b"), QRegularExpression::CaseInsensitiveOption);
    const int start = html.indexOf(tableStart);
    if (start < 0)
        return false;
    static const QRegularExpression tag(QStringLiteral("<!--.*?-->|<(/?)([a-zA-Z0-9!]+)[^>]*>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    QStringList row;
    QString cell;
    bool inRow = false, inCell = false;
    int depth = 0; // nested tables are read as text of their cell
    int pos = start;
    auto endCell = [&] {
        if (inCell)
            row << decodeEntities(cell.simplified());
        cell.clear();
        inCell = false;
    };
    auto endRow = [&] {
        endCell();
        if (inRow)
            addRow(rows, row);
        row.clear();
        inRow = false;
    };
    auto it = tag.globalMatch(html, start);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (inCell)
            cell += html.mid(pos, m.capturedStart() - pos);
        pos = m.capturedEnd();
        if (m.captured(2).isEmpty())
            continue; // a comment
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        if (name == QLatin1String("table")) {
            if (!closing)
                ++depth;
            else if (--depth == 0)
                break;
            continue;
        }
        if (depth != 1) {
            if (inCell && name == QLatin1String("br"))
                cell += QLatin1Char(' ');
            continue;
        }
        if (name == QLatin1String("tr")) {
            endRow();
            if (!closing)
                inRow = true;
        } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
            endCell();
            if (!closing) {
                inRow = true;
                inCell = true;
            }
        } else if (inCell && (name == QLatin1String("br") || name == QLatin1String("p"))) {
            cell += QLatin1Char(' ');
        }
    }
    endRow();
    return true;
}

Rows parseText(const QString& text)
{
    Rows rows;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines)
        addRow(&rows, line.split(QLatin1Char('\t')));
    return rows;
}

namespace {

QString cellText(const FreeXL_CellValue& v)
{
    switch (v.type) {
    case FREEXL_CELL_INT:
        return QString::number(v.value.int_value);
    case FREEXL_CELL_DOUBLE: {
        const double d = v.value.double_value;
        return QString::number(d, 'g', 15);
    }
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return v.value.text_value ? QString::fromUtf8(v.value.text_value) : QString();
    default:
        return QString();
    }
}

bool readXls(const QString& path, Rows* rows, QString* why)
{
    const void* handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (freexl_open(name.constData(), &handle) != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        if (why)
            *why = QStringLiteral("not an Excel 97-2003 workbook");
        return false;
    }
    bool ok = false;
    unsigned int sheets = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) == FREEXL_OK && sheets > 0
        && freexl_select_active_worksheet(handle, 0) == FREEXL_OK) {
        unsigned int rowCount = 0;
        unsigned short colCount = 0;
        if (freexl_worksheet_dimensions(handle, &rowCount, &colCount) == FREEXL_OK) {
            ok = true;
            for (unsigned int r = 0; r < rowCount && ok; ++r) {
                QStringList row;
                for (unsigned short c = 0; c < colCount; ++c) {
                    FreeXL_CellValue v;
                    std::memset(&v, 0, sizeof v);
                    if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK) {
                        ok = false;
                        break;
                    }
                    row << cellText(v);
                }
                addRow(rows, row);
            }
        }
    }
    freexl_close(handle);
    if (!ok && why)
        *why = QStringLiteral("the first sheet cannot be read");
    return ok;
}

} // namespace

bool read(const QString& path, Kind k, Rows* rows, QString* why)
{
    rows->clear();
    if (k == Kind::Xls)
        return readXls(path, rows, why);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (why)
            *why = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    // A binary file (a workbook named .txt, a picture) is no table of text.
    if (bytes.contains('\0')) {
        if (why)
            *why = QStringLiteral("binary data");
        return false;
    }
    const QString text = decodeText(bytes);
    if (k == Kind::Text) {
        *rows = parseText(text);
        return true;
    }
    if (!parseHtml(text, rows)) {
        if (why)
            *why = QStringLiteral("no table");
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------
// Writing

namespace {

QString htmlEscape(const QString& s)
{
    QString out;
    out.reserve(s.size());
    QChar previous;
    for (QChar c : s) {
        const QChar before = previous;
        previous = c;
        switch (c.unicode()) {
        // A page collapses runs of white space; as characters, a second
        // space and a tab come back as typed.
        case ' ':
            out += before == QLatin1Char(' ') || before == QLatin1Char('\t') ? QLatin1String("&#32;") : QLatin1String(" ");
            break;
        case '\t': out += QLatin1String("&#9;"); break;
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\r': break;
        case '\n': out += QLatin1String("<br>"); break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

QByteArray htmlBytes(const Rows& rows)
{
    QString s = QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                               "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\r\n"
                               "<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
                               "<TABLE BORDER=1 CELLSPACING=0>\r\n");
    for (const QStringList& row : rows) {
        s += QLatin1String("<TR>");
        for (const QString& c : row)
            s += QLatin1String("<TD>") + htmlEscape(c) + QLatin1String("</TD>");
        s += QLatin1String("</TR>\r\n");
    }
    s += QLatin1String("</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
    return s.toUtf8();
}

QByteArray textBytes(const Rows& rows)
{
    // UTF-8 with a byte-order mark, so that other programs see the encoding.
    QByteArray out("\xEF\xBB\xBF");
    for (const QStringList& row : rows) {
        QStringList cells;
        for (QString c : row) {
            // No quoting in this form: a tab or line break inside a cell
            // would split it, so it becomes a space.
            c.replace(QLatin1String("\r\n"), QLatin1String(" "));
            c.replace(QLatin1Char('\t'), QLatin1Char(' '));
            c.replace(QLatin1Char('\n'), QLatin1Char(' '));
            c.replace(QLatin1Char('\r'), QLatin1Char(' '));
            cells << c;
        }
        out += cells.join(QLatin1Char('\t')).toUtf8();
        out += "\r\n";
    }
    return out;
}

bool write(const QString& path, Kind k, const Rows& rows, QString* why)
{
    QByteArray bytes;
    if (k == Kind::Html)
        bytes = htmlBytes(rows);
    else if (k == Kind::Text)
        bytes = textBytes(rows);
    else if (!xlsBytes(rows, &bytes, why))
        return false;
    // QSaveFile writes a temporary file beside the target and renames it on commit.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (why)
            *why = f.errorString();
        return false;
    }
    return true;
}

} // namespace TableFile
