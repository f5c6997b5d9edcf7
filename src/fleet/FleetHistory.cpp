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

bool FleetHistory::recordNode(const std::vector<FleetRow>& rows, std::string* error)
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

NodeHistory FleetHistory::node(const std::string& node) const
{
    QSqlQuery q(QSqlDatabase::database(QString::fromStdString(connection_)));
    q.setForwardOnly(true);
    q.prepare("SELECT drive, at, state, status, ip, name, reason, rowid FROM diagnosis WHERE node = ? "
              "ORDER BY drive, at, rowid");
    q.addBindValue(QString::fromStdString(node));
    NodeHistory out;
    if (!q.exec())
        return out;
    // Each drive's last row, by record order, for the latest diagnosis.
    std::vector<std::pair<qlonglong, FleetRow>> last;
    std::string latestAt;
    while (q.next()) {
        FleetRow r;
        r.nodeName = node;
        r.drive = q.value(0).toString().toStdString();
        r.lastDiagnosed = q.value(1).toString().toStdString();
        const std::string state = q.value(2).toString().toStdString();
        r.state = fleetStateNamed(state);
        r.statusText = q.value(3).toString().toStdString();
        r.IP = q.value(4).toString().toStdString();
        r.name = q.value(5).toString().toStdString();
        r.reason = q.value(6).toString().toStdString();
        std::vector<DriveChange>& changes = out.changes[r.drive];
        if (changes.empty() || changes.back().state != state)
            changes.push_back({r.lastDiagnosed, changes.empty() ? std::string() : changes.back().state, state,
                               r.statusText});
        latestAt = std::max(latestAt, r.lastDiagnosed);
        if (last.empty() || last.back().second.drive != r.drive)
            last.emplace_back(q.value(7).toLongLong(), std::move(r));
        else
            last.back() = {q.value(7).toLongLong(), std::move(r)};
    }
    std::sort(last.begin(), last.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [rowid, r] : last)
        if (r.lastDiagnosed == latestAt)
            out.latest.push_back(std::move(r));
    return out;
}

std::vector<DriveChange> FleetHistory::changes(const std::string& node, const std::string& drive) const
{
    NodeHistory h = this->node(node);
    const auto it = h.changes.find(drive);
    return it == h.changes.end() ? std::vector<DriveChange>() : std::move(it->second);
}

std::string FleetHistory::since(const std::string& node, const std::string& drive) const
{
    const auto all = changes(node, drive);
    return all.empty() ? std::string() : all.back().at;
}

void addChangesOf(const NodeHistory& history, std::span<FleetRow> nodeRows)
{
    for (FleetRow& r : nodeRows) {
        const auto c = history.changes.find(r.drive);
        if (c == history.changes.end())
            continue;
        r.changes = c->second;
        r.since = r.changes.back().at;
    }
}

void FleetHistory::addChanges(std::vector<FleetRow>& rows) const
{
    for (auto first = rows.begin(); first != rows.end();) {
        const auto end =
            std::find_if(first, rows.end(), [&](const FleetRow& r) { return r.nodeName != first->nodeName; });
        addChangesOf(node(first->nodeName), std::span(first, end));
        first = end;
    }
}

} // namespace vorlu
