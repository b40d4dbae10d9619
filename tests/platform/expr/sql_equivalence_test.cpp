// A filter must select the same records whether it runs in SQL or record by record: both are run
// over one real data file and their selections compared.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>

#include "platform/expr/expression.h"
#include "platform/files/database.h"
#include "platform/files/layout.h"
#include "tests/platform/expr/song_file.h"
#include "tests/support/workspace.h"

namespace {

using Positions = std::set<files::Position>;

struct OtherRecord : files::Record {
  OtherRecord() : Record("OTH") {}
  files::String<10> Name{this, "Name"};
};

class SqlEquivalenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    addRecords();
    names.bind(rec);
    names.bind(other);
    names.bind(free);
    names.bind("GLO:Wanted", wanted);
    names.bind("BRW1::Sort3:Reset:GLO:Limit", limit);
    wanted = "queen";
    limit = 1990;
    free = "Ärzte";
    other.Name = "Abba";
  }
  void TearDown() override { file.close(); }

  void addRecords() {
    const char* titles[] = {"Schrei nach Liebe",
                            "schrei nach liebe",
                            "SCHREI NACH LIEBE",
                            "",
                            " leading",
                            "Ärzte",
                            "ärzte",
                            "Zoë",
                            "zoe",
                            "12abc",
                            "12",
                            " 5",
                            "1e3",
                            "0x10",
                            "-3",
                            "1.5x",
                            "abc",
                            "Rock 'n' Roll",
                            "Straße",
                            "STRASSE",
                            "🎵 Note",
                            "a",
                            "B",
                            "b",
                            "Ω",
                            "ω",
                            "0",
                            "9",
                            "10",
                            "-0.5",
                            "99999999999999999999",
                            ".5",
                            "+7",
                            "x y z",
                            "ab",
                            "ABC",
                            "über",
                            "Über",
                            "Étude",
                            "\t1"};
    const char* artists[] = {"Die Ärzte", "die ärzte", "Queen", "queen", "",
                             "Abba",      "ABBA",      "Ärzte", "Zoë",   "AC/DC"};
    const qint64 years[] = {0, 1965, 1993, -5, 2024, 1990, INT32_MAX, INT32_MIN};
    const int ratings[] = {0, 1, 5, 255};
    const qint64 plays[] = {0, -1, 999999999999999999, 9007199254740993, 123};
    const char* codes[] = {"12abc", "1.5x", " 5", "abc", "", "0x10", "1e3", "-3", "007", "12"};
    const char* notes[] = {"", "  Live", "Notiz", "ÄÖÜ", "12", "Schrei", "e"};
    for (int i = 0; i < 40; ++i) {
      rec.clear();
      rec.Title = QString::fromUtf8(titles[i]);
      rec.Artist = QString::fromUtf8(artists[i % 10]);
      rec.Year = years[i % 8];
      rec.Rating = ratings[i % 4];
      rec.Plays = plays[i % 5];
      rec.Code = QString::fromUtf8(codes[(i * 3) % 10]);
      rec.Notes = QString::fromUtf8(notes[i % 7]);
      ASSERT_TRUE(file.add().ok()) << i;
    }
  }

  Positions evaluated(const expr::Expression& e) {
    Positions out;
    file.setByPosition();
    while (file.next().ok())
      if (e.isTrue()) out.insert(file.position());
    return out;
  }

  static QString schemaOf(sqlite3* db, const QString& path) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA database_list", -1, &st, nullptr);
    QString schema;
    while (sqlite3_step(st) == SQLITE_ROW) {
      const QString file = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
      if (file.endsWith(path))
        schema = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    }
    sqlite3_finalize(st);
    return schema;
  }

  Positions selected(const expr::SqlFilter& f) {
    sqlite3* db = files::detail::Database::instance().handle();
    const QString schema = schemaOf(db, file.name() + ".tps");
    const QByteArray sql = QString("SELECT _pos FROM %1.data WHERE %2").arg(schema, f.where).toUtf8();
    sqlite3_stmt* st = nullptr;
    Positions out;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sql.constData() << ": " << sqlite3_errmsg(db);
      return out;
    }
    for (size_t i = 0; i < f.parameters.size(); ++i) {
      const QVariant& v = f.parameters[i];
      if (v.typeId() == QMetaType::QString) {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(st, int(i) + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
      } else {
        EXPECT_EQ(v.typeId(), QMetaType::LongLong) << sql.constData();
        sqlite3_bind_int64(st, int(i) + 1, v.toLongLong());
      }
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
      out.insert(sqlite3_column_int64(st, 0));
    EXPECT_EQ(rc, SQLITE_DONE) << sql.constData() << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(st);
    return out;
  }

  std::optional<QString> column(const files::Field& f) const {
    if (f.owner() != &rec) return std::nullopt;
    return files::detail::columnName(f);
  }

  test::Workspace ws;
  test::SongRecord rec;
  test::SongFile file{rec};
  OtherRecord other;
  files::String<10> free{nullptr, "Free"};
  files::String<20> wanted;
  files::Long limit;
  expr::Bindings names;
};

TEST_F(SqlEquivalenceTest, SqlSelectsWhatTheEvaluatorSelects) {
  const struct {
    const char* filter;
    bool translates;
  } cases[] = {
      {"SNG:Title = 'Schrei nach Liebe'", true},
      {"SNG:Title <> 'schrei nach liebe'", true},
      {"SNG:Title < 'b'", true},
      {"SNG:Title >= 'Z' AND SNG:Title =< 'zz'", true},
      {"SNG:Title = 'Ω' OR SNG:Title > 'ω'", true},
      {"UPPER(SNG:Title) = 'ÄRZTE'", true},
      {"UPPER(SNG:Title) = 'STRASSE' OR LOWER(SNG:Title) = 'straße'", true},
      {"LOWER(SNG:Artist) = 'die ärzte'", true},
      {"SNG:Title = 12", true},
      {"SNG:Title > 5", true},
      {"SNG:Title = 1.5", true},
      {"SNG:Title < 0.5", true},
      {"SNG:Code = 12", true},
      {"SNG:Code < 1", true},
      {"SNG:Code = '12'", true},
      {"SNG:Code * 2 = 3", true},
      {"SNG:Title", true},
      {"NOT SNG:Notes", true},
      {"SNG:Rating", true},
      {"SNG:Year AND SNG:Title", true},
      {"SNG:Year < 0 OR SNG:Rating = 255", true},
      {"SNG:Plays > 9007199254740992", true},
      {"SNG:Plays = 9007199254740992.0", true},
      {"SNG:Plays * 1000 > SNG:Year", true},
      {"SNG:Plays * SNG:Plays > 0", true},
      {"-SNG:Plays < -9223372036854775807", true},
      {"SNG:Year & '' = '1993'", true},
      {"SNG:Title & SNG:Rating = '05'", true},
      {"SNG:Code & 1.50 = '121.5'", true},
      {"SNG:Title + 0 & '' = SNG:Title", true},
      {"INSTRING('e', SNG:Title) = 3", true},
      {"INSTRING('ab', SNG:Title, 2) > 0", true},
      {"INSTRING(SNG:Notes, SNG:Title, 1, 2)", true},
      {"SUB(SNG:Title, 2, 3) = 'chr'", true},
      {"SUB(SNG:Title, -1, 1) = 'e'", true},
      {"LEFT(SNG:Title, 3) = 'Sch' OR LEFT(SNG:Title) = '5'", true},
      {"LEN(SNG:Title) > 5", true},
      {"CLIP(SNG:Notes & '  ') = SNG:Notes", true},
      {"INT(SNG:Code) = 12 OR INT(SNG:Title) < 0", true},
      {"ABS(SNG:Year) > 2000", true},
      {"-SNG:Year > 0", true},
      {"(SNG:Rating - 1) * -1 > -3", true},
      {"SNG:Notes =< SNG:Title OR SNG:Notes => 'Z'", true},
      {"SNG:Artist = GLO:Wanted", true},
      {"UPPER(SNG:Artist) = UPPER(GLO:Wanted)", true},
      {"SNG:Year >= BRW1::Sort3:Reset:GLO:Limit AND SNG:Year ~= 2024", true},
      {"SNG:Title = Free OR SNG:Artist = Free", true},
      {"SNG:Year / 2 > 990", false},
      {"SNG:Year % 2 = 1", false},
      {"SNG:Artist = OTH:Name", false},
      {"SNG:Title = 'a' OR SNG:Artist = OTH:Name", false},
  };
  int partial = 0;
  for (const auto& c : cases) {
    QString error;
    const auto e = expr::parse(QString::fromUtf8(c.filter), names, &error);
    ASSERT_TRUE(e.has_value()) << c.filter << ": " << error.toStdString();
    const auto sql = e->toSql([this](const files::Field& f) { return column(f); });
    ASSERT_EQ(sql.has_value(), c.translates) << c.filter;
    const Positions byRecord = evaluated(*e);
    if (byRecord.size() > 0 && byRecord.size() < 40) ++partial;
    if (!sql) continue;
    EXPECT_EQ(selected(*sql), byRecord) << c.filter << "\n  as " << sql->where.toStdString();
  }
  EXPECT_GT(partial, 40) << "most filters should choose some records, not all or none";
}

TEST_F(SqlEquivalenceTest, VariablesGoInAsParametersWithTheirCurrentValues) {
  const auto e = expr::parse("SNG:Artist = GLO:Wanted AND SNG:Year >= BRW1::Sort3:Reset:GLO:Limit", names);
  ASSERT_TRUE(e.has_value());
  const auto sql = e->toSql([this](const files::Field& f) { return column(f); });
  ASSERT_TRUE(sql.has_value());
  EXPECT_EQ(sql->parameters, (std::vector<QVariant>{QString("queen"), qlonglong(1990)}));
  EXPECT_FALSE(sql->where.contains("queen"));
  EXPECT_EQ(selected(*sql), evaluated(*e));
  EXPECT_FALSE(evaluated(*e).empty());
}

}  // namespace
