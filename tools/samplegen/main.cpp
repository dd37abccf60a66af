// samplegen FILE: writes the sample database (Jet4) to FILE, replacing
// whatever FILE held. The new file is made beside FILE and moved into
// place whole, so an interrupted build never leaves half a sample.
#include <filesystem>
#include <iostream>

#include "jet/database/database_writer.h"
#include "jet/database/new_database.h"
#include "jet/error.h"
#include "jet/sql/executor.h"
#include "jet/sql/parser.h"
#include "sample_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: samplegen FILE\n";
    return 2;
  }
  const std::filesystem::path target = argv[1];
  const std::string building = target.string() + ".new";
  try {
    std::filesystem::remove(building);
    std::filesystem::remove(building + "-journal");
    jet::write::createDatabase(building, jet::write::NewFormat::Jet4);
    {
      jet::write::DatabaseWriter writer(building, "");
      for (const std::string& statement : samplegen::sampleStatements())
        jet::sql::execute(writer, jet::sql::parse(statement));
    }
    std::filesystem::rename(building, target);
  } catch (const jet::Error& e) {
    std::cerr << "samplegen: " << e.description() << "\n";
    std::filesystem::remove(building);
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "samplegen: " << e.what() << "\n";
    std::filesystem::remove(building);
    return 1;
  }
  return 0;
}
