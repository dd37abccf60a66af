// Creating an empty Access database from nothing: the header page, the
// global usage map and the system tables with the catalog rows Jet needs
// (containers, database properties, the system tables' own rows and their
// access rights), laid out as Access lays out a new file of that format.
// The result opens in the engine and takes CREATE TABLE, INSERT and DROP.
#pragma once

#include <string>

namespace jet::write {

enum class NewFormat { Jet4, Ace12, Ace14, Ace16 };

// Writes a new database to `path`, which must not exist yet (an existing
// file is never overwritten). `password` ("" for none) becomes the
// database password: in a Jet4 file the header's password (at most 20
// characters), in an ACE file the key to Agile encryption of every page
// (AES-256, SHA-512), as Access 2010 and later protect a database. Throws jet::Error on failure
// and leaves no file behind.
void createDatabase(const std::string& path, NewFormat format, const std::string& password = "");

}  // namespace jet::write
