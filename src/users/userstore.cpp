#include "userstore.h"

#include "datamodule.h"
#include "passwords.h"

namespace UserStore {

namespace {

User rowToUser(const QueryResult& r, int row)
{
    User u;
    u.id = int(r.integer(row, QStringLiteral("UserID")));
    u.name = r.text(row, QStringLiteral("UserName"));
    u.passwd = r.text(row, QStringLiteral("PassWd")); // NULL reads as empty
    u.description = r.text(row, QStringLiteral("Description"));
    u.locked = r.boolean(row, QStringLiteral("LockFlag"));
    return u;
}

std::optional<User> first(TDataModule1& dm, const QString& sql, const QVariantList& params)
{
    if (!dm.query(sql, params) || dm.ADOQuery1().isEmpty())
        return std::nullopt;
    return rowToUser(dm.ADOQuery1(), 0);
}

QVector<User> all(TDataModule1& dm, const QString& sql)
{
    QVector<User> out;
    if (!dm.query(sql))
        return out;
    const QueryResult& r = dm.ADOQuery1();
    out.reserve(r.size());
    for (int i = 0; i < r.size(); ++i)
        out << rowToUser(r, i);
    return out;
}

// A commit that fails by itself (not after a reported statement) is reported
// like a failed statement.
bool finish(TDataModule1& dm, TDataModule1::Work& work, bool statementsOk)
{
    if (work.commit())
        return true;
    if (statementsOk)
        dm.messages()->show(QStringLiteral("程序错误"),
                            TDataModule1::errorText(QStringLiteral("修改记录错误: "), QStringLiteral("COMMIT"),
                                                    dm.db().lastError()),
                            MsgIcon::Critical);
    return false;
}

} // namespace

QString administratorName() { return QStringLiteral("管理员"); }
QString administratorDescription() { return QStringLiteral("只能设置和管理其它用户，不能记帐"); }

std::optional<User> findByName(TDataModule1& dm, const QString& name)
{
    return first(dm, QStringLiteral("SELECT * FROM AC_User WHERE UserName = ?"), {name});
}

std::optional<User> findById(TDataModule1& dm, int id)
{
    return first(dm, QStringLiteral("SELECT * FROM AC_User WHERE UserID = ?"), {id});
}

QVector<User> signInList(TDataModule1& dm)
{
    return all(dm, QStringLiteral("SELECT * FROM AC_User WHERE UserID > 0 AND LockFlag = 0 ORDER BY UserName"));
}

QVector<User> allUsers(TDataModule1& dm) { return all(dm, QStringLiteral("SELECT * FROM AC_User ORDER BY UserName")); }

bool nameInUse(TDataModule1& dm, const QString& name, int exceptId, bool* ok)
{
    const bool done = exceptId < 0
        ? dm.query(QStringLiteral("SELECT UserID FROM AC_User WHERE UserName = ?"), {name})
        : dm.query(QStringLiteral("SELECT UserID FROM AC_User WHERE UserID <> ? AND UserName = ?"), {exceptId, name});
    if (ok)
        *ok = done;
    return done && !dm.ADOQuery1().isEmpty();
}

bool ensureAdministrator(TDataModule1& dm, User* admin)
{
    if (!dm.query(QStringLiteral("SELECT * FROM AC_User WHERE UserID = ?"), {kAdministratorId}))
        return false;
    if (!dm.ADOQuery1().isEmpty()) {
        if (admin)
            *admin = rowToUser(dm.ADOQuery1(), 0);
        return true;
    }
    if (!dm.exec(QStringLiteral("INSERT INTO AC_User VALUES (?, ?, '', ?, 0)"),
                 {kAdministratorId, administratorName(), administratorDescription()}))
        return false;
    if (admin) {
        *admin = User();
        admin->id = kAdministratorId;
        admin->name = administratorName();
        admin->description = administratorDescription();
    }
    return true;
}

bool checkPassword(TDataModule1& dm, const User& user, const QString& typed)
{
    if (!Passwords::verify(user.passwd, typed))
        return false;
    if (!user.passwd.isEmpty() && !Passwords::isHash(user.passwd))
        setPassword(dm, user.id, typed); // an older file's plain text: keep it hashed from now on
    return true;
}

bool setPassword(TDataModule1& dm, int id, const QString& password)
{
    return dm.exec(QStringLiteral("UPDATE AC_User SET PassWd = ? WHERE UserID = ?"), {Passwords::hash(password), id});
}

bool updateProperties(TDataModule1& dm, int id, const QString& name, const QString& description, bool locked)
{
    return dm.exec(QStringLiteral("UPDATE AC_User SET UserName = ?, Description = ?, LockFlag = ? WHERE UserID = ?"),
                   {name, description, locked ? 1 : 0, id});
}

int nextUserId(TDataModule1& dm)
{
    if (!dm.query(QStringLiteral("SELECT max(UserID) AS UserID FROM AC_User")) || dm.ADOQuery1().isEmpty())
        return 1;
    const QVariant v = dm.ADOQuery1().value(0, 0);
    return v.isNull() ? 1 : v.toInt() + 1;
}

const QVector<SeedType>& seedCatalogue()
{
    static const QVector<SeedType> rows = {
        {"101", "现金", "1", false},     {"102", "工资卡", "1", false},   {"103", "应收款", "1", true},
        {"104", "应付款", "1", true},    {"105", "公积金", "1", true},    {"106", "股票", "1", true},
        {"107", "基金", "1", true},      {"108", "外汇", "1", true},      {"109", "网店", "1", true},
        {"201", "购买服饰", "2", true},  {"202", "享受美食", "2", true},  {"203", "房租水电", "2", true},
        {"204", "各类车费", "2", true},  {"205", "通讯费用", "2", true},  {"206", "阅读书籍", "2", true},
        {"207", "人情往来", "2", true},  {"208", "其它支出", "2", true},  {"301", "工资", "3", true},
        {"302", "补助", "3", true},      {"303", "奖金", "3", true},      {"304", "其它收入", "3", true},
        {"305", "期初余额", "3", false}, {"501", "家人", "5", false},     {"502", "亲戚", "5", false},
        {"503", "朋友", "5", false},     {"504", "同学", "5", false},     {"505", "同事", "5", false},
        {"506", "客户", "5", false},     {"507", "供货商", "5", false},   {"508", "公共服务", "5", false},
        {"601", "注册信息", "6", false}, {"602", "Email帐号", "6", false}, {"603", "经典网址", "6", false},
        {"604", "证件信息", "6", false},
    };
    return rows;
}

bool createUser(TDataModule1& dm, const QString& name, const QString& password, const QString& description,
                const QDate& today, int* newId)
{
    TDataModule1::Work work(dm);
    if (dm.db().transactionDepth() == 0)
        return false; // could not begin (reported): write nothing rather than half
    const int id = nextUserId(dm);
    bool ok = dm.exec(QStringLiteral("INSERT INTO AC_User VALUES (?, ?, ?, ?, 0)"),
                      {id, name, Passwords::hash(password), description});
    for (const SeedType& t : seedCatalogue()) {
        if (!ok)
            break;
        ok = dm.exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, 0, '1', ?, ?)"),
                     {QString::fromUtf8(t.typeId), QString::fromUtf8(t.typeName), QString::fromUtf8(t.typeFlag),
                      t.fundFlag ? 1 : 0, id});
    }
    ok = ok
        && dm.exec(QStringLiteral("INSERT INTO AC_Plan VALUES (1, '预计目标', '', 0, ?, 1, 0, ?)"), {today, id})
        && dm.exec(QStringLiteral("INSERT INTO AC_Plan VALUES (2, '现有资金', '', 0, NULL, 1, 0, ?)"), {id});
    if (!finish(dm, work, ok))
        return false;
    if (newId)
        *newId = id;
    return true;
}

const QStringList& userTables()
{
    static const QStringList t = {
        QStringLiteral("AC_User"), QStringLiteral("AC_Address"), QStringLiteral("AC_Info"),
        QStringLiteral("AC_List"), QStringLiteral("AC_Memo"),    QStringLiteral("AC_Plan"),
        QStringLiteral("AC_Fullfill"), QStringLiteral("AC_Setting"), QStringLiteral("AC_Type"),
    };
    return t;
}

bool deleteUser(TDataModule1& dm, int id)
{
    TDataModule1::Work work(dm);
    if (dm.db().transactionDepth() == 0)
        return false;
    bool ok = true;
    for (const QString& table : userTables()) {
        // Table names come from the fixed list above; only the id is a value.
        ok = dm.exec(QStringLiteral("DELETE FROM %1 WHERE UserID = ?").arg(table), {id});
        if (!ok)
            break;
    }
    return finish(dm, work, ok);
}

} // namespace UserStore
