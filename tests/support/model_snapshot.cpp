#include "support/model_snapshot.h"

#include <sstream>

#include "app/script/action_runner.h"

namespace rovanel::support {

std::string ModelSnapshot(app::TFp& fp) {
  std::ostringstream shot, none;
  script::ActionRunner reader(fp, shot, none);
  for (const char* what :
       {"dump:tools", "dump:NbCurves", "dump:CurveColours", "dump:RawBuf=1", "dump:RawBuf=2",
        "dump:RawBuf=3", "dump:CurveBuf", "dump:ProfParams", "dump:OptoParams",
        "dump:SpectroParams", "dump:MiParams", "dump:PrintNotes", "dump:NbPoints",
        "dump:FileNom"})
    if (!reader.Run(what)) shot << "dump failed: " << what << '\n';
  return shot.str();
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  std::istringstream x(a), y(b);
  std::string l, m;
  for (int n = 1;; ++n) {
    const bool more = static_cast<bool>(std::getline(x, l));
    const bool other = static_cast<bool>(std::getline(y, m));
    if (!more && !other) return {};
    if (more != other || l != m)
      return "line " + std::to_string(n) + ": '" + l.substr(0, 120) + "' then '" +
             m.substr(0, 120) + "'";
  }
}

}  // namespace rovanel::support
