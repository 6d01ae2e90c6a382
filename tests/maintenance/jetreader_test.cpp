// The reader of Jet database files, on a real Jet 4 file.
#include "jetreader.h"

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
