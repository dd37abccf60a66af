// Module Access: the Microsoft Access database file at the level of whole
// tables. Table names go into Access SQL between grave accents, unescaped.
// An empty path makes a routine use the connection page's Text1 and Text2
// as they are at the moment of the call.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "db/connection_factory.h"
#include "db/connection_fields.h"
#include "db/prompter.h"

class QListWidget;

namespace db {

// "`" + name + "`".
QString QuoteAccessName(const QString& name);

// "DROP TABLE " + the quoted name + ";", as the table commands send it.
QString AccessDropTableStatement(const QString& name);

// The Jet 4.0 string, or the ACE 12.0 one when the path ends in "accdb"
// in any letter case. The password clause is always there, also empty.
QString AccessConnectionString(const ConnectionFields& fields, const QString& path, const QString& password);

// The user tables in the provider's order. Nothing (no message) when the
// file is missing; nothing after an "(Error Number = " message box when
// opening or reading the schema fails. The given path only serves the
// existence test; the connection uses Text1 and Text2.
std::optional<QStringList> GetAccessTables(const QString& path, const ConnectionFields& fields,
                                           Prompter& prompter, const ConnectionFactory& connections);

// Clears `list` and adds the tables of GetAccessTables, yielding to the
// event loop before each; entry 0 then becomes current without being
// selected.
void FillAccessTableList(QListWidget& list, const QString& path, const ConnectionFields& fields,
                         Prompter& prompter, const ConnectionFactory& connections);

// True when a user table's name equals `name` upper-cased on both sides;
// false without opening anything when the file is missing.
bool AccessTableExists(const QString& path, const QString& password, const QString& name,
                       const ConnectionFields& fields, const ConnectionFactory& connections);

// Renames by copying the table under the new name and dropping the old
// one. A name holding a grave accent or a control character is refused
// before anything is asked or sent. When a table of the new name exists
// the user is asked "Would you like to overwrite ...?"; declining sends no
// statement and answers false.
// Answers true once the table carries the new name.
bool RenameAccessTable(const QString& oldName, const QString& newName, const QString& path,
                       const QString& password, const ConnectionFields& fields, Prompter& prompter,
                       const ConnectionFactory& connections);

}  // namespace db
