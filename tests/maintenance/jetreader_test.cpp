// The reader of Jet database files, on a real Jet 4 file.
#include "jetreader.h"
#include "upgrade.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The shared test file beside the repository, when it is there.
QString sampleFile()
{
    const QStringList candidates{
        QStringLiteral(ZELKO_SOURCE_DIR "/../shared/testdata/jet/DateTestDatabase.mdb"),
        QStringLiteral("/work/shared/testdata/jet/DateTestDatabase.mdb"),
    };
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile())
            return c;
    return QString();
}

} // namespace

TEST(JetReader, OpensARealFileListsItsTablesAndReadsTextAndDates)
{
    const QString path = sampleFile();
    if (path.isEmpty())
        GTEST_SKIP() << "the shared Jet test file is not there";
    JetReader jet;
    QString error;
    ASSERT_TRUE(jet.open(path, &error)) << error.toStdString();
    const QStringList tables = jet.tableNames();
    EXPECT_TRUE(tables.contains(QStringLiteral("DateTest"))) << tables.join(',').toStdString();
    for (const QString& t : tables)
        EXPECT_FALSE(t.startsWith(QStringLiteral("MSys"))) << t.toStdString();
    EXPECT_TRUE(jet.hasTable(QStringLiteral("datetest")));

    JetTable table;
    ASSERT_TRUE(jet.read(QStringLiteral("DateTest"), &table, &error)) << error.toStdString();
    for (const char* c : {"IDCol", "DateTimeCol", "DateCol", "TimeCol", "LongTextCol", "ShortTextCol"})
        EXPECT_GE(table.column(QString::fromLatin1(c)), 0) << c;
    ASSERT_FALSE(table.rows.isEmpty());
    int dates = 0, texts = 0;
    for (const QVariantList& row : table.rows) {
        const QVariant d = row.value(table.column(QStringLiteral("DateCol")));
        if (!d.isNull()) {
            EXPECT_EQ(d.typeId(), QMetaType::QDateTime);
            EXPECT_TRUE(d.toDateTime().isValid());
            EXPECT_GT(d.toDateTime().date().year(), 1800);
            ++dates;
        }
        const QVariant t = row.value(table.column(QStringLiteral("ShortTextCol")));
        EXPECT_EQ(t.typeId(), QMetaType::QString);
        if (!t.toString().isEmpty())
            ++texts;
        EXPECT_EQ(row.value(table.column(QStringLiteral("IDCol"))).typeId(), QMetaType::LongLong);
    }
    EXPECT_GT(dates, 0);
    EXPECT_GT(texts, 0);
    // The first row as the file holds it; a memo keeps its line break.
    const QVariantList& first = table.rows.first();
    EXPECT_EQ(first.value(table.column(QStringLiteral("IDCol"))).toLongLong(), 1);
    EXPECT_EQ(first.value(table.column(QStringLiteral("DateCol"))).toDateTime().date(), QDate(2021, 12, 2));
    EXPECT_EQ(first.value(table.column(QStringLiteral("ShortTextCol"))).toString(), QStringLiteral("Hello"));
    bool memo = false;
    for (const QVariantList& row : table.rows)
        memo = memo || row.value(table.column(QStringLiteral("LongTextCol"))).toString() == QStringLiteral("New line\r\nin field");
    EXPECT_TRUE(memo);
}

TEST(JetReader, RefusesWhatIsNotAJetFile)
{
    QTemporaryDir dir;
    JetReader jet;
    QString error;
    EXPECT_FALSE(jet.open(dir.filePath(QStringLiteral("missing.mdb")), &error));
    EXPECT_FALSE(error.isEmpty());

    const QString junk = dir.filePath(QStringLiteral("junk.mdb"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, '\x5a'));
    f.close();
    EXPECT_FALSE(jet.open(junk, &error));
    EXPECT_FALSE(jet.isOpen());
    JetTable t;
    EXPECT_FALSE(jet.read(QStringLiteral("AC_List"), &t, &error));
}

TEST(JetV1Reader, AJetFileWithoutTheOldTablesIsRefused)
{
    const QString path = sampleFile();
    if (path.isEmpty())
        GTEST_SKIP() << "the shared Jet test file is not there";
    JetV1Reader reader;
    V1Data data;
    SqlError error;
    EXPECT_FALSE(reader.load(path, &data, &error));
    EXPECT_TRUE(error.isSet());
    EXPECT_TRUE(error.message.contains(QStringLiteral("AC_Type"))) << error.message.toStdString();
    EXPECT_TRUE(data.records.isEmpty());
}

TEST(JetV1Reader, AmountsOfTheOldFile)
{
    struct Case {
        QVariant value;
        bool ok;
        qint64 raw;
    } cases[] = {
        {QStringLiteral("12.5000"), true, 125000},
        {QStringLiteral("-3"), true, -30000},
        {QStringLiteral("0.0050"), true, 50},
        {QStringLiteral("1e-05"), true, 0},
        {QVariant(), true, 0},
        {QString(), true, 0},
        {12.25, true, 122500},
        {QStringLiteral("abc"), false, 0},
    };
    for (const Case& c : cases) {
        Money m = Money::fromRaw(-1);
        EXPECT_EQ(JetV1Reader::moneyOf(c.value, &m), c.ok) << c.value.toString().toStdString();
        if (c.ok)
            EXPECT_EQ(m.raw(), c.raw) << c.value.toString().toStdString();
    }
}
