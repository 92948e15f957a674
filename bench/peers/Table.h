// The benchmark table as every generator reads it: one SQLite query over table t, stepped a
// row at a time, each cell handed out as the text that marrowlintide shows for it. A text
// points into SQLite's current row or into the reader's own buffer, is followed by a NUL, and
// stays valid until the next call of Next. Failures throw std::runtime_error with SQLite's message.
#pragma once

#include <sqlite3.h>

#include <array>
#include <charconv>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Layout.h"

namespace mlt::bench {

class Table {
public:
    static constexpr const char* Query = "SELECT id, name, city, amount, due, paid FROM t";
    static constexpr std::array<std::string_view, Columns> Captions = {"id",     "name", "city",
                                                                       "amount", "due",  "paid"};

    explicit Table(const char* path) {
        if (sqlite3_open_v2(path, &Db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
                SQLITE_OK ||
            sqlite3_prepare_v2(Db, Query, -1, &Stmt, nullptr) != SQLITE_OK) {
            std::string message = std::string(path) + ": " + sqlite3_errmsg(Db);
            sqlite3_close(Db);
            throw std::runtime_error(message);
        }
    }
    ~Table() {
        sqlite3_finalize(Stmt);
        sqlite3_close(Db);
    }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Steps to the next record; false after the last one.
    bool Next() {
        const int rc = sqlite3_step(Stmt);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw std::runtime_error(sqlite3_errmsg(Db));
    }

    // Text of a column of the current record, as marrowlintide shows it: the amount in the
    // general number format with 15 significant digits, the ISO date as month/day/year
    // without leading zeros, the Boolean as True or False, everything else as SQLite gives it.
    std::string_view Cell(int column) {
        switch (column) {
        case 3:
            return Format(Amount, [&](char* first, char* last) {
                return std::to_chars(first, last, sqlite3_column_double(Stmt, 3),
                                     std::chars_format::general, 15)
                    .ptr;
            });
        case 4:
            return UsDate(Text(4));
        case 5:
            return sqlite3_column_int(Stmt, 5) ? "True" : "False";
        default:
            return Text(column);
        }
    }

    // Every cell of the current record.
    std::array<std::string_view, Columns> Cells() {
        std::array<std::string_view, Columns> texts;
        for (int c = 0; c < Columns; ++c) texts[c] = Cell(c);
        return texts;
    }

private:
    std::string_view Text(int column) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Stmt, column));
        return {text ? text : "", static_cast<size_t>(sqlite3_column_bytes(Stmt, column))};
    }

    // Writes into buffer with write(first, last), which returns the end of what it wrote, and
    // ends the text with a NUL.
    template <size_t Size, class Write>
    static std::string_view Format(char (&buffer)[Size], Write write) {
        char* end = write(buffer, buffer + Size - 1);
        *end = '\0';
        return {buffer, static_cast<size_t>(end - buffer)};
    }

    // YYYY-MM-DD as M/D/YYYY; any other text unchanged.
    std::string_view UsDate(std::string_view iso) {
        int year = 0, month = 0, day = 0;
        const char* end = iso.data() + iso.size();
        if (iso.size() != 10 || iso[4] != '-' || iso[7] != '-' ||
            std::from_chars(iso.data(), iso.data() + 4, year).ptr != iso.data() + 4 ||
            std::from_chars(iso.data() + 5, iso.data() + 7, month).ptr != iso.data() + 7 ||
            std::from_chars(iso.data() + 8, end, day).ptr != end)
            return iso;
        return Format(Due, [&](char* first, char* last) {
            first = std::to_chars(first, last, month).ptr;
            *first++ = '/';
            first = std::to_chars(first, last, day).ptr;
            *first++ = '/';
            return std::to_chars(first, last, year).ptr;
        });
    }

    sqlite3* Db = nullptr;
    sqlite3_stmt* Stmt = nullptr;
    char Amount[32];
    char Due[16];
};

}  // namespace mlt::bench
