// Values written into SQL text. A value inside quotes has its quotes doubled, so a code or
// name with an apostrophe simply works; a value written bare must be a number.
#pragma once

#include <QString>
#include <QStringList>

// `value` ready to stand between single quotes.
QString Sql_Quote_Value(const QString& value);
// True when `value` may be written bare: a plain decimal number.
bool Is_Sql_Number(const QString& value);

// The first position at or after `from` where `needle` starts outside every quoted literal
// ('...', with '' for a quote inside); -1 when there is none.
qsizetype Index_Outside_Quotes(const QString& sql, const QString& needle, qsizetype from = 0,
                               Qt::CaseSensitivity cs = Qt::CaseSensitive);
// True when `sql` is one SELECT (or WITH ... SELECT) statement: no second statement after a ";"
// and no comment outside quoted values.
bool Is_Single_Select(const QString& sql);
// "column LIKE 'value%'": the rows whose column starts with `value` taken as plain text. A value
// with a pattern character (%, _, [ or the escape \) has it escaped, with an ESCAPE clause.
QString Like_Prefix_Condition(const QString& column, const QString& value);
// The functions a PostgreSQL plan (EXPLAIN VERBOSE, any format) calls, as written in it: the
// name with its schema when it has one ("lo_import", "public.f"), lower case.
QStringList Plan_Functions(const QString& plan);
// True when a PostgreSQL plan only reads: no data-modifying or row-locking node, and every
// function it calls is one of the plain value functions a statement's query may use (sums,
// text, dates, type conversions) with no schema other than pg_catalog.
bool Plan_Reads_Only(const QString& plan);
