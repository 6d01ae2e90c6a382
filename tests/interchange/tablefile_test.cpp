// Table files: the three writers, their round trip through the readers
// (the workbook read back by freexl), text encodings and bad files.
#include "tablefile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <freexl.h>

using TableFile::Kind;
using TableFile::Rows;

namespace {

Rows sample()
{
    return {
        {QStringLiteral("日期"), QStringLiteral("收支类型"), QStringLiteral("收支说明"), QStringLiteral("收入金额")},
        {QStringLiteral("2026-1-5"), QStringLiteral("伙食"), QStringLiteral("a <b> & \"c\" 'd' 100%"), QStringLiteral("1,250.50")},
        {QStringLiteral("2026-1-6"), QString(), QStringLiteral("空格 在中间  两个"), QStringLiteral("")},
        {QStringLiteral("合计"), QStringLiteral("2"), QString(), QStringLiteral("1,250.50")},
    };
}

// Readers drop trailing empty cells only through trimming; compare padded.
Rows padded(Rows rows, int width)
{
    for (QStringList& r : rows)
        while (r.size() < width)
            r << QString();
    return rows;
}

void writeBytes(const QString& path, const QByteArray& b)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
}

} // namespace

TEST(TableFileTest, EveryKindRoundTrips)
{
    QTemporaryDir dir;
    for (Kind k : {Kind::Html, Kind::Text, Kind::Xls}) {
        const QString path = dir.filePath(QStringLiteral("out") + TableFile::extensionOf(k));
        QString why;
        ASSERT_TRUE(TableFile::write(path, k, sample(), &why)) << why.toStdString();
        Rows back;
        ASSERT_TRUE(TableFile::read(path, k, &back, &why)) << why.toStdString();
        EXPECT_EQ(padded(back, 4), padded(sample(), 4)) << int(k);
        // Nothing is left beside the file.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("out")).size(), 1);
        QFile::remove(path);
    }
    // A web page keeps a tab and a run of spaces inside a cell as they were.
    Rows back;
    ASSERT_TRUE(TableFile::parseHtml(QString::fromUtf8(TableFile::htmlBytes({{"a\tb", "c \t  d"}})), &back));
    EXPECT_EQ(back, Rows({{"a\tb", "c \t  d"}}));
}

TEST(TableFileTest, WorkbookCellsAsFreexlReadsThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.xls"));
    // Enough text for the string table to continue over several records.
    Rows rows = sample();
    for (int i = 0; i < 3000; ++i)
        rows << QStringList{QStringLiteral("第%1行").arg(i), QString(i % 7 == 0 ? 2000 : 3, QChar(0x4E00 + i % 500))};
    ASSERT_TRUE(TableFile::write(path, Kind::Xls, rows));

    const void* h = nullptr;
    ASSERT_EQ(freexl_open(QFile::encodeName(path).constData(), &h), FREEXL_OK);
    unsigned int sheets = 0;
    ASSERT_EQ(freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &sheets), FREEXL_OK);
    EXPECT_EQ(sheets, 1u);
    unsigned int version = 0;
    ASSERT_EQ(freexl_get_info(h, FREEXL_BIFF_VERSION, &version), FREEXL_OK);
    EXPECT_EQ(version, unsigned(FREEXL_BIFF_VER_8));
    ASSERT_EQ(freexl_select_active_worksheet(h, 0), FREEXL_OK);
    unsigned int nrows = 0;
    unsigned short ncols = 0;
    ASSERT_EQ(freexl_worksheet_dimensions(h, &nrows, &ncols), FREEXL_OK);
    EXPECT_EQ(nrows, unsigned(rows.size()));
    EXPECT_EQ(ncols, 4);
    for (unsigned int r = 0; r < nrows; ++r)
        for (unsigned short c = 0; c < ncols; ++c) {
            FreeXL_CellValue v;
            ASSERT_EQ(freexl_get_cell_value(h, r, c, &v), FREEXL_OK);
            const QString want = rows.at(int(r)).value(c);
            if (want.isEmpty()) {
                EXPECT_EQ(v.type, FREEXL_CELL_NULL);
            } else {
                ASSERT_EQ(v.type, FREEXL_CELL_SST_TEXT) << r << "," << c;
                EXPECT_EQ(QString::fromUtf8(v.value.text_value), want) << r << "," << c;
            }
        }
    freexl_close(h);
}

TEST(TableFileTest, WorkbookLimits)
{
    QByteArray out;
    Rows wide{QStringList(257, QStringLiteral("x"))};
    EXPECT_FALSE(TableFile::xlsBytes(wide, &out));
}

TEST(TableFileTest, TextEncodingsAndLineEnds)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("名称\t类别\r\n新浪\t  门户 \r\n\r\n\t\t\r\n搜狐\t门户");
    QStringEncoder gbk("GBK");
    const QList<QByteArray> forms = {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), text.toUtf8(), gbk.encode(text)};
    for (const QByteArray& bytes : forms) {
        const QString path = dir.filePath(QStringLiteral("t.txt"));
        writeBytes(path, bytes);
        Rows rows;
        ASSERT_TRUE(TableFile::read(path, Kind::Text, &rows));
        const Rows want{{QStringLiteral("名称"), QStringLiteral("类别")},
                        {QStringLiteral("新浪"), QStringLiteral("门户")},
                        {QStringLiteral("搜狐"), QStringLiteral("门户")}};
        EXPECT_EQ(rows, want);
    }
}

TEST(TableFileTest, WebPagesOfOtherWriters)
{
    const QString html = QStringLiteral(
        "<html><body><p>x</p><table border=1><tr><th>名称</th><th> 类别 </th></tr>\n"
        "<tr><td><b>新&amp;浪</b></td><td>a&nbsp;b&#20013;&#x6587;</td></tr>"
        "<!-- <tr><td>注释</td></tr> --><tr><td></td><td> </td></tr>"
        "<TR><TD>多\n行<br>文字</TD><TD>x</TD></TR></table><table><tr><td>second</td></tr></table>");
    Rows rows;
    ASSERT_TRUE(TableFile::parseHtml(html, &rows));
    const Rows want{{QStringLiteral("名称"), QStringLiteral("类别")},
                    {QStringLiteral("新&浪"), QStringLiteral("a\u00A0b中文")},
                    {QStringLiteral("多 行 文字"), QStringLiteral("x")}};
    EXPECT_EQ(rows, want);
    EXPECT_FALSE(TableFile::parseHtml(QStringLiteral("<html>no table</html>"), &rows));
}

TEST(TableFileTest, WrongFilesAreRefused)
{
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("a.txt"));
    writeBytes(txt, QByteArray("PK\x03\x04\0\0binary", 14));
    Rows rows;
    EXPECT_FALSE(TableFile::read(txt, Kind::Text, &rows));
    EXPECT_FALSE(TableFile::read(txt, Kind::Xls, &rows));
    EXPECT_FALSE(TableFile::read(dir.filePath(QStringLiteral("missing.htm")), Kind::Html, &rows));
    // A failed write keeps the old file.
    const QString old = dir.filePath(QStringLiteral("keep.xls"));
    writeBytes(old, "old");
    EXPECT_FALSE(TableFile::write(old, Kind::Xls, Rows{QStringList(300, QStringLiteral("x"))}));
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

TEST(TableFileTest, NamesAndExtensions)
{
    EXPECT_EQ(TableFile::withExtension(QStringLiteral("report"), Kind::Text), QStringLiteral("report.txt"));
    EXPECT_EQ(TableFile::withExtension(QStringLiteral("report.htm"), Kind::Xls), QStringLiteral("report.htm.xls"));
    EXPECT_EQ(TableFile::withExtension(QStringLiteral("data.xls"), Kind::Text), QStringLiteral("data.xls.txt"));
    EXPECT_EQ(TableFile::withExtension(QStringLiteral("R.XLS"), Kind::Xls), QStringLiteral("R.XLS"));
}

TEST(TableFileTest, LargeWorkbookNeedsMoreThanTheHeadersFatList)
{
    // Over 7 MB of stream: the sector table continues in extra sectors.
    Rows rows;
    for (int r = 0; r < 20000; ++r) {
        QStringList row;
        for (int c = 0; c < 8; ++c)
            row << QStringLiteral("行%1列%2-abcdefghijklmnopqrstuvwxyz").arg(r).arg(c);
        rows << row;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.xls"));
    QByteArray bytes;
    ASSERT_TRUE(TableFile::xlsBytes(rows, &bytes));
    ASSERT_GT(bytes.size(), 110 * 128 * 512);
    ASSERT_TRUE(TableFile::write(path, Kind::Xls, rows));
    Rows back;
    ASSERT_TRUE(TableFile::read(path, Kind::Xls, &back));
    ASSERT_EQ(back.size(), rows.size());
    EXPECT_EQ(back.first(), rows.first());
    EXPECT_EQ(back.at(12345), rows.at(12345));
    EXPECT_EQ(back.last(), rows.last());
}
