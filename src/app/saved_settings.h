// The per-user store of the three connection values, kept from one run to
// the next: application "Quorvane", section "Ferrovale". The password is
// stored as typed, so the file and its folder are kept private to the
// user (0600 and 0700) whatever the umask.
#pragma once

#include <QSettings>
#include <QString>

namespace app {

class SavedSettings {
 public:
  static constexpr char kAccessMdbFile[] = "AccessMDBFile";
  static constexpr char kAccessPassword[] = "AccessPassword";
  static constexpr char kDataSourceName[] = "DataSourceName";

  // The user's own store.
  SavedSettings();
  // A store in an INI file; its folder must be the store's own, since it
  // is made private too.
  explicit SavedSettings(const QString& filePath);
  SavedSettings(const SavedSettings&) = delete;
  SavedSettings& operator=(const SavedSettings&) = delete;

  // The stored text; "" for a key never written.
  QString read(const QString& key) const;
  // Stores the whole text at once; false when the store could not be written.
  bool write(const QString& key, const QString& value);

  QString fileName() const { return settings_.fileName(); }

 private:
  SavedSettings(const QString& filePath, QSettings::Format format);
  void keepPrivate() const;

  QSettings settings_;
};

}  // namespace app
