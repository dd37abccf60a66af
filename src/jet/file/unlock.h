// Reading the header page and checking the password before anything else
// of a database is read: the Jet header password of .mdb files, and for
// encrypted files the page cipher the password unlocks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/crypto/page_cipher.h"
#include "jet/crypto/secret_bytes.h"
#include "jet/file/header.h"
#include "jet/file/pager.h"

namespace jet {

// The first page as stored (at most 4096 bytes); raises "Unrecognized
// database format" unless it is an Access header page.
std::vector<std::uint8_t> readHeaderPage(const ByteSource& source, const std::string& path);

// The cipher for the database's pages (null when they are stored plain).
// Raises "Not a valid password." (kInvalidPassword) when `password` does
// not open the file; never puts the password into an error text.
std::shared_ptr<const crypto::PageCipher> unlock(ByteView rawPage0, const Header& header,
                                                 const std::string& password, const std::string& path);

// The cipher a password unlocked for a file, kept for opening the file
// again: while its header page and the password stay the same, so does
// the key, and its derivation (100,000 hash rounds in Agile files) is
// done once, not at every opening.
class UnlockCache {
 public:
  // As unlock(), answered from the cache when nothing changed.
  std::shared_ptr<const crypto::PageCipher> unlock(ByteView rawPage0, const Header& header,
                                                   const std::string& password, const std::string& path);

 private:
  std::vector<std::uint8_t> page0_;
  crypto::SecretBytes password_;
  std::shared_ptr<const crypto::PageCipher> cipher_;
  bool filled_ = false;
};

}  // namespace jet
