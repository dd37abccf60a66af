// The one seam for modal message boxes and the input box, so that tests
// can answer them. It sits in the gateway layer because the Access
// gateway itself asks the user (the overwrite question of a rename, the
// table-listing error); the application shell implements it with Qt and
// re-exports it as app::Prompter.
//
// Style values are the Windows MB_* sums the program passes (0 OK,
// 4 Yes/No, 48 exclamation + OK); answers are IDOK (1), IDYES (6), IDNO (7).
#pragma once

#include <QString>

namespace db {

enum MessageStyle : int { kOkOnly = 0, kYesNo = 4, kExclamation = 48 };
enum MessageAnswer : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

class Prompter {
 public:
  virtual ~Prompter() = default;
  // An empty caption means the application title, "Ferrovale".
  virtual int messageBox(const QString& text, int style, const QString& caption = {}) = 0;
  // Returns the text entered, or the empty text on Cancel.
  virtual QString inputBox(const QString& prompt, const QString& defaultText,
                           const QString& caption = {}) = 0;
};

}  // namespace db
