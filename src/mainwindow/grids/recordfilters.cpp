#include "recordfilters.h"

#include "dates.h"
#include "money.h"

namespace {

QString placeholders(int n)
{
    QStringList q;
    for (int i = 0; i < n; ++i)
        q << QStringLiteral("?");
    return q.join(QLatin1Char(','));
}

int settingNumber(TDataModule1* dm, int id, int fallback)
{
    bool ok = false;
    const int v = dm->readSetting(id).trimmed().toInt(&ok);
    return ok && v > 0 ? v : fallback;
}

bool containsText(const QString& value, const QString& part)
{
    return part.isEmpty() || value.contains(part, Qt::CaseInsensitive);
}

// Filters an address book or favourites set to the user's rows, of one
// category when typeId is given, whose fields contain each non-empty text
// (field, text) of likes.
void filterByTexts(RecordSet* rs, const QString& user, const QString& typeId,
                   const QList<QPair<QString, QString>>& likes)
{
    QString text = QStringLiteral("(UserID = ") + user + QStringLiteral(")");
    if (!typeId.isEmpty())
        text += QStringLiteral(" AND (TypeID = ") + typeId + QStringLiteral(")");
    for (const auto& l : likes)
        if (!l.second.isEmpty())
            text += QStringLiteral(" AND (") + l.first + QStringLiteral(" contains \"") + l.second + QStringLiteral("\")");
    rs->disableControls();
    rs->setFilter(
        [user, typeId, likes](const RecordSet& r, int row) {
            if (r.value(row, QStringLiteral("UserID")).toString() != user)
                return false;
            if (!typeId.isEmpty() && r.value(row, QStringLiteral("TypeID")).toString() != typeId)
                return false;
            for (const auto& l : likes)
                if (!containsText(r.value(row, l.first).toString(), l.second))
                    return false;
            return true;
        },
        text);
    rs->enableControls();
}

} // namespace

RecordFilters::RecordFilters(TDataModule1* dm) : dm_(dm) {}

QStringList RecordFilters::rangeItems()
{
    return {QStringLiteral("默认记录"), QStringLiteral("当天"), QStringLiteral("本周"), QStringLiteral("本月"),
            QStringLiteral("本季"), QStringLiteral("本年"), QStringLiteral("所有记录")};
}

QStringList RecordFilters::includedItems()
{
    return {QStringLiteral("全部"), QStringLiteral("参与统计"), QStringLiteral("不参与统计")};
}

QString RecordFilters::includedCondition(int index)
{
    if (index == 1)
        return QStringLiteral("AND (Included = 1) ");
    if (index == 2)
        return QStringLiteral("AND (Included = 0) ");
    return QString();
}

QString RecordFilters::likePattern(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    t.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    t.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + t + QLatin1Char('%');
}

QString RecordFilters::rangeCaption(const QDate& start, const QDate& end)
{
    QString c;
    if (start.isValid())
        c += Dates::format(Dates::kChinese, start);
    c += QStringLiteral(" - ");
    if (end.isValid())
        c += Dates::format(Dates::kChinese, end);
    return c;
}

RecordFilters::LedgerQuery RecordFilters::queryForNode(const GridNode& node, const QDate& start, const QDate& end)
{
    LedgerQuery q;
    const QChar b = node.branch();
    if (b == QLatin1Char('2'))
        q.type = QStringLiteral("支出");
    else if (b == QLatin1Char('3'))
        q.type = QStringLiteral("收入");
    if (node.isValid() && !node.isRoot()) {
        if (node.typeFlag == QLatin1String("1"))
            q.accounts << node.typeId;
        else
            q.categories << node.typeId;
    }
    q.start = start;
    q.end = end;
    return q;
}

void RecordFilters::buildCriteria(const LedgerQuery& q, QString* criteria, QVariantList* params) const
{
    QString c;
    QVariantList p;
    if (q.start.isValid()) {
        c += QStringLiteral("AND (ActDate >= ?) ");
        p << Dates::toIso(q.start);
    }
    if (q.end.isValid()) {
        c += QStringLiteral("AND (ActDate <= ?) ");
        p << Dates::toIso(q.end);
    }
    c += QStringLiteral("AND (UserID = ?) ");
    p << dm_->currentUserId();
    if (!q.accounts.isEmpty()) {
        c += QStringLiteral("AND (TypeID in (") + placeholders(q.accounts.size()) + QStringLiteral(")) ");
        for (const QString& a : q.accounts)
            p << a;
    }
    if (q.type == QStringLiteral("支出"))
        c += QStringLiteral("AND (TypeID2 like '2%') ");
    else if (q.type == QStringLiteral("收入"))
        c += QStringLiteral("AND (TypeID2 like '3%') ");
    if (!q.categories.isEmpty()) {
        c += QStringLiteral("AND (TypeID2 in (") + placeholders(q.categories.size()) + QStringLiteral(")) ");
        for (const QString& a : q.categories)
            p << a;
    }
    if (!q.description.isEmpty()) {
        c += QStringLiteral("AND (Mark LIKE ? ESCAPE '\\') ");
        p << likePattern(q.description);
    }
    Money m;
    if (!q.minAmount.isEmpty() && Money::parse(q.minAmount, &m)) {
        c += QStringLiteral("AND (AbsAmount >= ?) ");
        p << m.raw();
    }
    if (!q.maxAmount.isEmpty() && Money::parse(q.maxAmount, &m)) {
        c += QStringLiteral("AND (AbsAmount <= ?) ");
        p << m.raw();
    }
    c += includedCondition(dm_->readSetting(5).toInt());
    if (c.startsWith(QLatin1String("AND ")))
        c.remove(0, 4);
    *criteria = c;
    *params = p;
}

void RecordFilters::computeDateRange(int index, const GridNode& node)
{
    const QDate t = today();
    QDate start, end = t;
    switch (index) {
    case 1:
        start = t;
        break;
    case 2:
        start = t.addDays(1 - t.dayOfWeek());
        end = start.addDays(6);
        break;
    case 3:
        start = QDate(t.year(), t.month(), 1);
        end = start.addMonths(1).addDays(-1);
        break;
    case 4: {
        const int first = (t.month() - 1) / 3 * 3 + 1;
        start = QDate(t.year(), first, 1);
        end = start.addMonths(3).addDays(-1);
        break;
    }
    case 5:
        start = QDate(t.year(), 1, 1);
        end = QDate(t.year(), 12, 31);
        break;
    case 6:
        start = QDate();
        end = QDate();
        break;
    default: {
        const int n = settingNumber(dm_, 13, 30);
        const int m = settingNumber(dm_, 14, 5);
        const int k = settingNumber(dm_, 15, 30);
        start = t.addDays(-n);
        if (node.isValid()) {
            // The node's conditions without the date bounds.
            LedgerQuery q = queryForNode(node, QDate(), QDate());
            QString c;
            QVariantList p;
            buildCriteria(q, &c, &p);
            QueryResult r;
            if (dm_->db().select(QStringLiteral("SELECT count(*) FROM AC_List WHERE (ActDate >= ?) AND (ActDate <= ?) AND ")
                                     + c,
                                 QVariantList{Dates::toIso(start), Dates::toIso(end)} + p, &r)
                && !r.isEmpty() && r.value(0, 0).toLongLong() < m) {
                QueryResult last;
                if (dm_->db().select(QStringLiteral("SELECT ActDate FROM AC_List WHERE (ActDate <= ?) AND ") + c
                                         + QStringLiteral(" ORDER BY ActDate DESC, ActID DESC LIMIT ?"),
                                     QVariantList{Dates::toIso(end)} + p + QVariantList{k}, &last)
                    && !last.isEmpty()) {
                    const QDate d = last.date(last.size() - 1, QStringLiteral("ActDate"));
                    if (d.isValid())
                        start = d;
                }
            }
        }
        break;
    }
    }
    dm_->viewStart = start;
    dm_->viewEnd = end;
}

bool RecordFilters::runLedgerQuery(const LedgerQuery& q)
{
    // A row the rules refused to store is still being typed: re-reading the
    // list would throw it away.
    if (dm_->ADOTable1->isEditing())
        return false;
    QString c;
    QVariantList p;
    buildCriteria(q, &c, &p);
    dm_->viewCondition = c;
    dm_->viewParams = p;
    RecordSet* rs = dm_->ADOTable1;
    rs->disableControls();
    rs->close();
    rs->setSql(QStringLiteral("select * from AC_List where ") + c, p);
    const bool ok = rs->open();
    rs->enableControls();
    if (!ok) {
        dm_->messages()->show(QStringLiteral("程序错误"),
                              TDataModule1::errorText(QStringLiteral("查询收支记录错误: "), c, rs->lastError()),
                              MsgIcon::Critical);
    }
    if (afterLedgerQuery)
        afterLedgerQuery();
    return ok;
}

bool RecordFilters::changeIncluded(int index)
{
    if (dm_->ADOTable1->isEditing())
        return false; // as above: the row being typed stays
    dm_->writeSetting(5, QString::number(index));
    QString c = dm_->viewCondition;
    const int at = c.indexOf(QLatin1String("AND (Included"));
    if (at >= 0)
        c = c.left(at);
    if (c.isEmpty())
        return false; // no ledger view yet
    c += includedCondition(index);
    dm_->viewCondition = c;
    RecordSet* rs = dm_->ADOTable1;
    rs->disableControls();
    rs->close();
    rs->setSql(QStringLiteral("select * from AC_List where ") + c, dm_->viewParams);
    const bool ok = rs->open();
    rs->enableControls();
    if (!ok)
        dm_->messages()->show(QStringLiteral("程序错误"),
                              TDataModule1::errorText(QStringLiteral("查询收支记录错误: "), c, rs->lastError()),
                              MsgIcon::Critical);
    if (afterLedgerQuery)
        afterLedgerQuery();
    return ok;
}

LedgerFooters RecordFilters::ledgerFooters()
{
    LedgerFooters f;
    if (dm_->viewCondition.isEmpty())
        return f;
    QueryResult r;
    if (!dm_->db().select(QStringLiteral("select count(*) AS Cnt, Sum(InAmount) AS InAmount, Sum(OutAmount) AS OutAmount "
                                         "from AC_List where Included=1 AND ")
                              + dm_->viewCondition,
                          dm_->viewParams, &r)
        || r.isEmpty())
        return f;
    f.computed = true;
    f.count = r.value(0, 0).toLongLong();
    if (!r.value(0, 1).isNull())
        f.inAmount = QVariant::fromValue(Money::fromRaw(r.value(0, 1).toLongLong()));
    if (!r.value(0, 2).isNull())
        f.outAmount = QVariant::fromValue(Money::fromRaw(r.value(0, 2).toLongLong()));
    return f;
}

bool RecordFilters::filterAddress(const AddressQuery& q)
{
    filterByTexts(dm_->ADOTable3, dm_->currentUser, q.typeId,
                  {{QStringLiteral("Name"), q.name},         {QStringLiteral("Phone"), q.phone},
                   {QStringLiteral("QQ"), q.qq},             {QStringLiteral("Email"), q.email},
                   {QStringLiteral("Homepage"), q.homepage}, {QStringLiteral("Birthday"), q.birthday},
                   {QStringLiteral("Address"), q.address},   {QStringLiteral("Company"), q.company},
                   {QStringLiteral("Title"), q.title},       {QStringLiteral("Misc"), q.misc}});
    if (afterAddressFilter)
        afterAddressFilter();
    return true;
}

bool RecordFilters::filterMemo(const MemoQuery& q)
{
    filterByTexts(dm_->ADOTable4, dm_->currentUser, q.typeId,
                  {{QStringLiteral("Name"), q.name},
                   {QStringLiteral("URL"), q.url},
                   {QStringLiteral("Description"), q.description}});
    if (afterMemoFilter)
        afterMemoFilter();
    return true;
}
