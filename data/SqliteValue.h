#pragma once

#include <QString>
#include <sqlite3.h>

// The first column of the first row of `sql` as text, with `parameter` bound to ?1 unless it is
// null; an empty string when the statement fails or returns nothing.
QString QueryTextValue(sqlite3* db, const char* sql, const QString& parameter = QString());
