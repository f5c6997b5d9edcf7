#include "fleet/FleetHistory.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <fstream>

namespace vorlu {

namespace {

constexpr int SchemaVersion = 1;
constexpr char SqliteMagic[] = "SQLite format 3";

std::string nextConnectionName()
{
    static std::atomic<int> n{0};
    return "vorlu-history-" + std::to_string(++n);
}

// SQLite itself would take a file of any other content as empty and write over it.
bool looksLikeSqlite(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    char head[sizeof SqliteMagic] = {};
    in.read(head, sizeof head);
    return in.gcount() == sizeof head && std::string(head, sizeof head - 1) == SqliteMagic && head[15] == '\0';
}

} // namespace

std::optional<FleetHistory> FleetHistory::open(const std::filesystem::path& file, std::string& error)
{
    std::error_code ec;
    const bool existed = std::filesystem::exists(file, ec);
    if (existed && std::filesystem::file_size(file, ec) > 0 && !looksLikeSqlite(file)) {
        error = file.string() + ": not a history database; left as it is";
        return std::nullopt;
    }
    const std::string name = nextConnectionName();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", QString::fromStdString(name));
        db.setDatabaseName(QString::fromStdString(file.string()));
        if (!db.open()) {
            error = file.string() + ": " + db.lastError().text().toStdString();
        } else {
            QSqlQuery q(db);
            if (!q.exec("PRAGMA user_version") || !q.next()) {
                error = file.string() + ": damaged history database, left as it is: " +
                        q.lastError().text().toStdString();
            } else if (const int version = q.value(0).toInt(); version > SchemaVersion) {
                error = file.string() + ": history database of a newer version (" + std::to_string(version) +
                        "); left as it is";
            } else if (version == 0 &&
                       !(q.exec("CREATE TABLE IF NOT EXISTS diagnosis (node TEXT NOT NULL, ip TEXT, drive TEXT "
                                "NOT NULL, name TEXT, state TEXT NOT NULL, status TEXT, at TEXT NOT NULL, reason TEXT)") &&
                         q.exec("CREATE INDEX IF NOT EXISTS diagnosis_drive ON diagnosis (node, drive, at)") &&
                         q.exec("PRAGMA user_version = " + QString::number(SchemaVersion)))) {
                error = file.string() + ": " + q.lastError().text().toStdString();
            } else {
                ok = true;
            }
            if (!ok)
                db.close();
        }
    }
    if (!ok) {
        QSqlDatabase::removeDatabase(QString::fromStdString(name));
        return std::nullopt;
    }
    return FleetHistory(name);
}

FleetHistory::FleetHistory(FleetHistory&& other) noexcept : connection_(std::move(other.connection_))
{
    other.connection_.clear();
}

FleetHistory::~FleetHistory()
{
    if (connection_.empty())
        return;
    QSqlDatabase::database(QString::fromStdString(connection_), false).close();
    QSqlDatabase::removeDatabase(QString::fromStdString(connection_));
}

bool FleetHistory::record(const std::vector<FleetRow>& rows, std::string* error)
{
    QSqlDatabase db = QSqlDatabase::database(QString::fromStdString(connection_));
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text().toStdString();
        return false;
    }
    QSqlQuery q(db);
    q.prepare("INSERT INTO diagnosis (node, ip, drive, name, state, status, at, reason) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (const FleetRow& r : rows) {
        for (const std::string* v : {&r.nodeName, &r.IP, &r.drive, &r.name})
            q.addBindValue(QString::fromStdString(*v));
        q.addBindValue(QString(stateName(r.state)));
        for (const std::string* v : {&r.statusText, &r.lastDiagnosed, &r.reason})
            q.addBindValue(QString::fromStdString(*v));
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text().toStdString();
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

bool FleetHistory::forget(const std::vector<std::string>& nodes, std::string* error)
{
    QSqlDatabase db = QSqlDatabase::database(QString::fromStdString(connection_));
    QSqlQuery q(db);
    bool ok = db.transaction() && q.prepare("DELETE FROM diagnosis WHERE node = ?");
    for (auto it = nodes.begin(); ok && it != nodes.end(); ++it) {
        q.addBindValue(QString::fromStdString(*it));
        ok = q.exec();
    }
    if (ok && db.commit())
        return true;
    if (error)
        *error = (q.lastError().isValid() ? q.lastError() : db.lastError()).text().toStdString();
    db.rollback();
    return false;
}

bool forgetHistoryOf(const std::filesystem::path& programFolder, const std::vector<std::string>& nodes,
                     std::string* error)
{
    const std::filesystem::path file = programFolder / HistoryFileName;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return true; // nothing recorded, and no empty database made for it
    std::string problem;
    auto history = FleetHistory::open(file, problem);
    if (!history) {
        if (error)
            *error = problem;
        return false;
    }
    return history->forget(nodes, error);
}

namespace {

// Only the rows where a drive's state differs from its diagnosis before: a
// year of nightly runs costs no more to read than a week's.
constexpr const char* ChangesQuery =
    "SELECT node, drive, at, previous, state, status FROM (SELECT node, drive, at, state, status, rowid AS id, "
    "LAG(state) OVER (PARTITION BY node, drive ORDER BY at, rowid) AS previous FROM diagnosis%1) "
    "WHERE previous IS NULL OR previous <> state ORDER BY node, drive, at, id";

std::string text(const QSqlQuery& q, int column) { return q.value(column).toString().toStdString(); }

} // namespace

std::map<std::string, std::map<std::string, std::vector<DriveChange>>>
FleetHistory::changesWhere(const std::string* node) const
{
    QSqlQuery q(QSqlDatabase::database(QString::fromStdString(connection_)));
    q.setForwardOnly(true);
    q.prepare(QString(ChangesQuery).arg(node ? " WHERE node = ?" : ""));
    if (node)
        q.addBindValue(QString::fromStdString(*node));
    std::map<std::string, std::map<std::string, std::vector<DriveChange>>> out;
    if (!q.exec())
        return out;
    while (q.next())
        out[text(q, 0)][text(q, 1)].push_back({text(q, 2), text(q, 3), text(q, 4), text(q, 5)});
    return out;
}

RecordedFleet FleetHistory::recordedFleet() const
{
    RecordedFleet out;
    out.changes = changesWhere(nullptr);
    QSqlQuery q(QSqlDatabase::database(QString::fromStdString(connection_)));
    q.setForwardOnly(true);
    if (q.exec("SELECT node, MAX(at) FROM diagnosis GROUP BY node"))
        while (q.next())
            out.latestAt[text(q, 0)] = text(q, 1);
    return out;
}

std::vector<FleetRow> FleetHistory::latest(const std::string& node) const
{
    QSqlQuery q(QSqlDatabase::database(QString::fromStdString(connection_)));
    q.setForwardOnly(true);
    q.prepare("SELECT drive, ip, name, state, status, at, reason FROM diagnosis WHERE node = ? AND "
              "at = (SELECT MAX(at) FROM diagnosis WHERE node = ?) ORDER BY rowid");
    q.addBindValue(QString::fromStdString(node));
    q.addBindValue(QString::fromStdString(node));
    std::vector<FleetRow> out;
    if (!q.exec())
        return out;
    while (q.next()) {
        FleetRow r;
        r.nodeName = node;
        r.drive = text(q, 0);
        r.IP = text(q, 1);
        r.name = text(q, 2);
        r.state = fleetStateNamed(text(q, 3));
        r.statusText = text(q, 4);
        r.lastDiagnosed = text(q, 5);
        r.reason = text(q, 6);
        // Two runs in the same second: the later one's row stands.
        const auto same = std::find_if(out.begin(), out.end(), [&](const FleetRow& o) { return o.drive == r.drive; });
        if (same != out.end())
            out.erase(same);
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<DriveChange> FleetHistory::changes(const std::string& node, const std::string& drive) const
{
    auto byNode = changesWhere(&node);
    return std::move(byNode[node][drive]);
}

std::string FleetHistory::since(const std::string& node, const std::string& drive) const
{
    const auto all = changes(node, drive);
    return all.empty() ? std::string() : all.back().at;
}

void addChangesOf(const RecordedFleet& recorded, std::span<FleetRow> rows)
{
    for (FleetRow& r : rows) {
        const auto node = recorded.changes.find(r.nodeName);
        if (node == recorded.changes.end())
            continue;
        const auto drive = node->second.find(r.drive);
        if (drive == node->second.end())
            continue;
        r.changes = drive->second;
        r.since = r.changes.back().at;
    }
}

} // namespace vorlu
