#include "bench/Report.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

namespace bench {
namespace {

std::string Today() {
  std::time_t now = std::time(nullptr);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return text;
}

std::string CpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      size_t colon = line.find(':');
      if (colon != std::string::npos) return line.substr(line.find_first_not_of(' ', colon + 1));
    }
  }
  return "unknown processor";
}

std::string MarkdownRow(const std::vector<std::string>& cells) {
  std::string row = "|";
  for (const std::string& cell : cells) row += " " + cell + " |";
  return row + "\n";
}

}  // namespace

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string MachineSummary() {
  utsname name{};
  uname(&name);
  return "nproc " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + ", " + CpuModel() + ", " + name.sysname + " " +
         name.release + " " + name.machine;
}

bool Report::AllGoalsHold() const {
  return std::all_of(goals_.begin(), goals_.end(), [](const Goal& g) { return g.holds; });
}

void Report::Print(std::ostream& out) const {
  for (const Table& table : tables_) {
    out << "\n== " << table.title << "\n";
    std::vector<size_t> widths(table.header.size(), 0);
    auto widen = [&](const std::vector<std::string>& cells) {
      for (size_t i = 0; i < cells.size() && i < widths.size(); ++i) widths[i] = std::max(widths[i], cells[i].size());
    };
    widen(table.header);
    for (const auto& row : table.rows) widen(row);
    auto line = [&](const std::vector<std::string>& cells) {
      for (size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
        out << (i == 0 ? "" : "  ") << cells[i] << std::string(widths[i] - cells[i].size(), ' ');
      }
      out << "\n";
    };
    line(table.header);
    for (const auto& row : table.rows) line(row);
  }
  out << "\n== Goals\n";
  for (const Goal& g : goals_) out << (g.holds ? "holds   " : "MISSED  ") << g.goal << ": " << g.measured << "\n";
  for (const std::string& r : remarks_) out << "note: " << r << "\n";
}

std::string Report::Markdown(const std::string& command) const {
  std::ostringstream md;
  md << "# Benchmark results\n\n";
  md << "Written by `" << command << "`; do not edit by hand, run it again.\n\n";
  md << "- Date: " << Today() << "\n";
  md << "- Machine: " << MachineSummary() << "\n\n";
  md << "## Goals\n\n";
  md << MarkdownRow({"goal", "measured", "holds"});
  md << MarkdownRow({"---", "---", "---"});
  for (const Goal& g : goals_) md << MarkdownRow({g.goal, g.measured, g.holds ? "yes" : "**no**"});
  md << "\n";
  for (const std::string& r : remarks_) md << "- " << r << "\n";
  if (!remarks_.empty()) md << "\n";
  for (const Table& table : tables_) {
    md << "## " << table.title << "\n\n";
    if (!table.note.empty()) md << table.note << "\n\n";
    md << MarkdownRow(table.header);
    md << MarkdownRow(std::vector<std::string>(table.header.size(), "---"));
    for (const auto& row : table.rows) md << MarkdownRow(row);
    md << "\n";
  }
  return md.str();
}

}  // namespace bench
