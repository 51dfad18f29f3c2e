#include "ProcessTree.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>

namespace skribo {

namespace {

std::string ReadProcFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

double StatusKiB(const std::string& status, const char* field) {
  const size_t at = status.find(field);
  return at == std::string::npos ? 0 : std::atof(status.c_str() + at + std::strlen(field));
}

}  // namespace

TProcessFigures MeasureProcessTree() {
  std::map<int, int> parentOf;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool isPid = false;
    const int pid = entry.toInt(&isPid);
    if (!isPid) continue;
    const std::string stat = ReadProcFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    int ppid = 0;
    std::sscanf(stat.c_str() + close + 2, "%*c %d", &ppid);
    parentOf[pid] = ppid;
  }
  std::vector<int> tree{static_cast<int>(::getpid())};
  for (size_t i = 0; i < tree.size(); ++i)
    for (const auto& [pid, ppid] : parentOf)
      if (ppid == tree[i]) tree.push_back(pid);
  TProcessFigures figures;
  const double tick = static_cast<double>(::sysconf(_SC_CLK_TCK));
  for (int pid : tree) {
    const std::string base = "/proc/" + std::to_string(pid);
    const std::string stat = ReadProcFile(base + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    unsigned long utime = 0, stime = 0;
    std::sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu",
                &utime, &stime);
    figures.CpuSeconds += (utime + stime) / tick;
    const std::string status = ReadProcFile(base + "/status");
    figures.RssMiB += StatusKiB(status, "VmRSS:") / 1024;
    figures.PeakMiB += StatusKiB(status, "VmHWM:") / 1024;
    ++figures.Processes;
  }
  return figures;
}

}  // namespace skribo
