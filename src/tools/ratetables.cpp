#include "ratetables.h"

#include "dates.h"

namespace RateTables {

QString tableName(Table t)
{
    switch (t) {
    case Table::Rate: return QStringLiteral("INT_Rate");
    case Table::Cur: return QStringLiteral("INT_Cur");
    case Table::Type: return QStringLiteral("INT_Type");
    case Table::Term: return QStringLiteral("INT_Term");
    }
    return QString();
}

namespace {

QVector<Item> items(ToolConnection& c, const QString& sql, const QVariantList& params, const QString& nameField)
{
    QueryResult r;
    c.query(sql, params, &r);
    QVector<Item> out;
    for (int i = 0; i < r.size(); ++i)
        out << Item{int(r.integer(i, QStringLiteral("ID"))), r.text(i, nameField)};
    return out;
}

SaveResult refuse(const char* message, const char* field)
{
    SaveResult s;
    s.message = QString::fromUtf8(message);
    s.field = QString::fromUtf8(field);
    return s;
}

bool readInt(const QString& text, QVariant* out)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok)
        *out = v;
    return ok;
}

// A date column: empty stays NULL, anything else must be a date.
bool readDate(const QString& text, QVariant* out)
{
    if (text.trimmed().isEmpty()) {
        *out = QVariant();
        return true;
    }
    const QDate d = Dates::parse(text.trimmed());
    if (!d.isValid())
        return false;
    *out = d;
    return true;
}

} // namespace

QVector<Item> currencies(ToolConnection& c)
{
    return items(c, QStringLiteral("SELECT * FROM INT_Cur ORDER BY ID"), {}, QStringLiteral("CurName"));
}

QVector<Item> kinds(ToolConnection& c, const QString& flag)
{
    return items(c, QStringLiteral("SELECT * FROM INT_Type WHERE TypeFlag = ? ORDER BY ID"), {flag},
                 QStringLiteral("TypeName"));
}

QVector<Item> allKinds(ToolConnection& c)
{
    return items(c, QStringLiteral("SELECT * FROM INT_Type ORDER BY ID"), {}, QStringLiteral("TypeName"));
}

QVector<Item> terms(ToolConnection& c)
{
    return items(c, QStringLiteral("SELECT * FROM INT_Term ORDER BY ID"), {}, QStringLiteral("TermName"));
}

QVector<Item> termsFor(ToolConnection& c, int curId, int kindId)
{
    return items(c,
                 QStringLiteral("SELECT * FROM INT_Term WHERE ID IN "
                                "(SELECT TermID FROM INT_Rate WHERE CurID = ? AND TypeID = ?) ORDER BY ID"),
                 {curId, kindId}, QStringLiteral("TermName"));
}

bool rateFor(ToolConnection& c, int curId, int kindId, int termId, const QDate& today, double* rate)
{
    QueryResult r;
    const QString iso = Dates::toIso(today);
    c.query(QStringLiteral("SELECT Rate, UpdDate FROM INT_Rate WHERE CurID = ? AND TypeID = ? AND TermID = ? "
                           "ORDER BY (UpdDate > ?), "
                           "CASE WHEN UpdDate > ? THEN UpdDate END ASC, UpdDate DESC, ID"),
            {curId, kindId, termId, iso, iso}, &r);
    if (r.isEmpty())
        return false;
    *rate = r.value(0, 0).toDouble();
    return true;
}

QueryResult rows(ToolConnection& c, Table t)
{
    QueryResult r;
    c.query(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(tableName(t)), {}, &r);
    return r;
}

bool isDefaultRecord(Table t, const QVariant& id)
{
    return t != Table::Rate && id.isValid() && !id.isNull() && id.toInt() == 0;
}

SaveResult save(ToolConnection& c, Table t, const QVariant& originalId, const QMap<QString, QString>& v,
                const QDate& today)
{
    const bool inserting = !originalId.isValid() || originalId.isNull();
    auto text = [&](const char* f) { return v.value(QString::fromUtf8(f)).trimmed(); };
    QStringList cols;
    QVariantList vals;
    switch (t) {
    case Table::Rate: {
        QVariant typeId, curId, termId, date;
        if (!readInt(text("TypeID"), &typeId))
            return refuse("类别不能为空！", "TypeID");
        if (!readInt(text("CurID"), &curId))
            return refuse("币种不能为空！", "CurID");
        if (!readInt(text("TermID"), &termId))
            return refuse("期限不能为空！", "TermID");
        bool ok = true;
        const double rate = ToolText::number(text("Rate"), &ok);
        if (!text("Rate").isEmpty() && !ok)
            return refuse("年利率必须是数字！", "Rate");
        if (rate < 0)
            return refuse("年利率不能小于0！", "Rate");
        if (!readDate(text("UpdDate"), &date))
            return refuse("启用日期不正确！", "UpdDate");
        // One rate per kind, currency, term and effective date.
        QueryResult dup;
        c.query(QStringLiteral("SELECT ID FROM INT_Rate WHERE TypeID = ? AND CurID = ? AND TermID = ? "
                               "AND UpdDate IS ? AND (? IS NULL OR ID <> ?)"),
                {typeId, curId, termId, Database::toStorage(date), originalId, originalId}, &dup);
        if (!dup.isEmpty())
            return refuse("该类别、币种和期限在这一启用日期已有利率！", "UpdDate");
        cols = {QStringLiteral("TypeID"), QStringLiteral("CurID"), QStringLiteral("TermID"), QStringLiteral("Rate"),
                QStringLiteral("UpdDate")};
        vals = {typeId, curId, termId, rate, date};
        break;
    }
    case Table::Cur: {
        if (text("CurName").isEmpty())
            return refuse("币种不能为空！", "CurName");
        bool ok = true;
        double exch = ToolText::number(text("ExchRate"), &ok);
        if (text("ExchRate").isEmpty())
            exch = 1.0;
        else if (!ok || exch <= 0)
            return refuse("汇率必须是大于0的数字！", "ExchRate");
        QVariant date;
        if (!readDate(text("UpdDate"), &date))
            return refuse("更新日期不正确！", "UpdDate");
        if (inserting && date.isNull())
            date = today;
        cols = {QStringLiteral("CurName"), QStringLiteral("ExchRate"), QStringLiteral("UpdDate")};
        vals = {text("CurName"), exch, date};
        break;
    }
    case Table::Type: {
        if (text("TypeName").isEmpty())
            return refuse("类名不能为空！", "TypeName");
        const QString flag = text("TypeFlag").toUpper();
        if (flag != QLatin1String("C") && flag != QLatin1String("D"))
            return refuse("类型只能是存款或贷款！", "TypeFlag");
        cols = {QStringLiteral("TypeName"), QStringLiteral("TypeFlag")};
        vals = {text("TypeName"), flag};
        break;
    }
    case Table::Term: {
        if (text("TermName").isEmpty())
            return refuse("期限不能为空！", "TermName");
        if (text("Months").isEmpty())
            return refuse("月数不能为空！", "Months");
        cols = {QStringLiteral("TermName"), QStringLiteral("Months")};
        vals = {text("TermName"), text("Months")};
        break;
    }
    }
    if (!inserting && isDefaultRecord(t, originalId))
        return refuse("默认记录不允许修改！", "");

    SaveResult res;
    QString sql;
    if (inserting) {
        QStringList marks;
        for (int i = 0; i < cols.size(); ++i)
            marks << QStringLiteral("?");
        sql = QStringLiteral("INSERT INTO %1(%2) VALUES(%3)").arg(tableName(t), cols.join(QStringLiteral(", ")),
                                                                 marks.join(QStringLiteral(", ")));
    } else {
        QStringList sets;
        for (const QString& col : cols)
            sets << col + QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE ID = ?").arg(tableName(t), sets.join(QStringLiteral(", ")));
        vals << originalId;
    }
    if (!c.exec(sql, vals)) {
        res.message.clear();
        res.field = cols.first();
        return res; // reported by the statement routine
    }
    res.ok = true;
    if (inserting) {
        QueryResult r;
        c.query(QStringLiteral("SELECT last_insert_rowid()"), {}, &r);
        if (!r.isEmpty())
            res.id = r.value(0, 0);
    } else {
        res.id = originalId;
    }
    return res;
}

bool remove(ToolConnection& c, Table t, const QVariant& id, QString* message)
{
    if (isDefaultRecord(t, id)) {
        if (message)
            *message = QStringLiteral("默认记录不允许删除！");
        return false;
    }
    return c.exec(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(tableName(t)), {id});
}

} // namespace RateTables
