#include "cli/arguments.h"

namespace cli {

namespace {

std::string text(const QString& word) {
  return word.toStdString();
}

class Reader {
 public:
  Reader(const QStringList& words, Arguments& into) : words_(words), into_(into) {}

  void readOptionsAndOperands() {
    bool optionsEnded = false;
    for (next_ = 1; next_ < words_.size(); ++next_) {
      const QString& word = words_[next_];
      if (optionsEnded || !word.startsWith(QLatin1Char('-')) || word == QLatin1String("-")) {
        into_.operands << word;
      } else if (word == QLatin1String("--")) {
        optionsEnded = true;
      } else {
        readOption(word);
      }
    }
  }

  void checkComplete() const {
    const Command& command = *into_.command;
    if (!command.sides.empty() && !into_.side)
      throw UsageError(std::string(command.name) + " needs " + sideChoices());
    const auto count = into_.operands.size();
    switch (command.operands) {
      case Operands::kNone:
        if (count > 0) throw UsageError(std::string(command.name) + " takes no table names");
        break;
      case Operands::kTables:
        if (count == 0) throw UsageError(std::string(command.name) + " needs at least one table name");
        break;
      case Operands::kOldAndNew:
        if (count != 2) throw UsageError(std::string(command.name) + " needs the old and the new name");
        if (into_.operands[1].isEmpty()) throw UsageError("the new name is empty");
        break;
    }
  }

 private:
  void readOption(const QString& word) {
    const qsizetype equals = word.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? word : word.left(equals);
    const std::optional<QString> attached =
        equals < 0 ? std::nullopt : std::optional<QString>(word.mid(equals + 1));
    if (name == QLatin1String("--file")) return setValue(into_.file, name, attached);
    if (name == QLatin1String("--password")) return setValue(into_.password, name, attached);
    if (name == QLatin1String("--dsn")) return setValue(into_.dataSourceName, name, attached);
    if (attached) throw UsageError("option " + text(name) + " takes no value");
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
      into_.request = Arguments::Request::kHelp;
      return;
    }
    if (into_.command->answersQuestions &&
        (name == QLatin1String("--yes") || name == QLatin1String("--no"))) {
      into_.yes = name == QLatin1String("--yes");
      return;
    }
    for (const SideOption& side : into_.command->sides) {
      if (name != QLatin1String(side.option.data(), static_cast<qsizetype>(side.option.size()))) continue;
      if (into_.side && into_.side != &side) throw UsageError("give only one of " + sideChoices());
      into_.side = &side;
      return;
    }
    throw UsageError("unknown option " + text(name) + " for " + std::string(into_.command->name));
  }

  void setValue(std::optional<QString>& value, const QString& name, const std::optional<QString>& attached) {
    if (attached) {
      value = *attached;
    } else if (next_ + 1 < words_.size()) {
      value = words_[++next_];
    } else {
      throw UsageError("option " + text(name) + " needs a value");
    }
  }

  std::string sideChoices() const {
    std::string choices;
    for (const SideOption& side : into_.command->sides) {
      if (!choices.empty()) choices += " or ";
      choices += side.option;
    }
    return choices;
  }

 private:
  const QStringList& words_;
  Arguments& into_;
  qsizetype next_ = 0;
};

}  // namespace

Arguments ParseArguments(const QStringList& words) {
  Arguments arguments;
  const QString first = words.value(0);
  if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
    arguments.request = Arguments::Request::kHelp;
    return arguments;
  }
  if (first == QLatin1String("--version")) {
    arguments.request = Arguments::Request::kVersion;
    return arguments;
  }
  arguments.command = FindCommand(first.toStdString());
  if (!arguments.command) throw UsageError("unknown command '" + text(first) + "'");
  Reader reader(words, arguments);
  reader.readOptionsAndOperands();
  if (arguments.request == Arguments::Request::kRun) reader.checkComplete();
  return arguments;
}

}  // namespace cli
