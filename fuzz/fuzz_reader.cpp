// libFuzzer entry for one file reader, chosen at compile time by TARQ_FUZZ_FORMAT (0 MPS, 1 LP,
// 2 MIP start, 3 branching order, 4 binary, 5 SDPA, 6 CBF). The input is the file's content.
// Beyond "no crash, no sanitizer report", every input must either
//  - fail and leave the problem unchanged, or
//  - succeed, and then the format's writer must write the problem, the reader read that back,
//    and writing again give the same text: reading and writing agree with each other.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "io/formats.h"

namespace {

using tarq_solver::IoError;
using tarq_solver::OutBuffer;
using tarq_solver::Problem;

struct Format {
  tarq_solver::ParseFn parse;
  tarq_solver::WriteFn write;
  tarq_solver::ParseFn reparse;
};

constexpr Format kFormats[] = {
    {tarq_solver::ParseMps, tarq_solver::WriteMps, tarq_solver::ParseMps},
    {tarq_solver::ParseLp, tarq_solver::WriteLp, tarq_solver::ParseLp},
    {tarq_solver::ParseMst, tarq_solver::WriteMst, tarq_solver::ParseMst},
    {tarq_solver::ParseOrd, tarq_solver::WriteOrd, tarq_solver::ParseOrd},
    {tarq_solver::ParseBinUnchecked, tarq_solver::WriteBin, tarq_solver::ParseBin},
    {tarq_solver::ParseSdpa, tarq_solver::WriteSdpa, tarq_solver::ParseSdpa},
    {tarq_solver::ParseCbf, tarq_solver::WriteCbf, tarq_solver::ParseCbf},
};
constexpr Format kFormat = kFormats[TARQ_FUZZ_FORMAT];

void Require(bool ok) {
  if (!ok) std::abort();
}

std::shared_ptr<const tarq_solver::EnvCore> QuietEnv() {
  static const std::shared_ptr<const tarq_solver::EnvCore> env = [] {
    tarq_solver::EnvSettings settings;
    settings.logToConsole = false;
    std::shared_ptr<const tarq_solver::EnvCore> out;
    Require(tarq_solver::MakeEnvCore(settings, out) == TARQ_RETCODE_OK);
    return out;
  }();
  return env;
}

// Columns for the MIP start and order files to name: x, y, "a b", an unnamed one ("C3"), and
// one named "C1" ahead of nothing in particular.
void AddColumns(Problem& p) {
  const char* names[] = {"x", "y", "a b", nullptr, "z"};
  Require(p.AddCols(5, nullptr, tarq_solver::VectorList{}, nullptr, nullptr, nullptr, names) == TARQ_RETCODE_OK);
}

std::string Written(Problem& p, int& rc) {
  OutBuffer out;
  IoError err;
  rc = kFormat.write(p, out, err);
  return out.Text();
}

}  // namespace

// Random bytes rarely get past the binary format's header, so the binary target can start from
// real files: with TARQ_FUZZ_BIN_SEEDS=<mps dir>:<out dir> it first writes every MPS file of the
// first directory in the binary format into the second.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* seeds = std::getenv("TARQ_FUZZ_BIN_SEEDS");
  if (TARQ_FUZZ_FORMAT != 4 || seeds == nullptr) return 0;
  const std::string dirs(seeds);
  const size_t colon = dirs.find(':');
  if (colon == std::string::npos) return 0;
  const std::filesystem::path from = dirs.substr(0, colon), to = dirs.substr(colon + 1);
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(from, ec)) {
    Problem p(QuietEnv());
    IoError err;
    std::string text;
    if (tarq_solver::ReadWholeFile(entry.path().string(), text, err) != TARQ_RETCODE_OK) continue;
    if (tarq_solver::ParseMps(p, text, err) != TARQ_RETCODE_OK) continue;
    OutBuffer out;
    const std::string target = (to / entry.path().filename()).string() + ".bin";
    if (out.Open(target, err) == TARQ_RETCODE_OK && tarq_solver::WriteBin(p, out, err) == TARQ_RETCODE_OK) {
      out.Close(err);
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Problem problem(QuietEnv());
  AddColumns(problem);
  const std::uint64_t before = problem.Version();
  IoError err;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (kFormat.parse(problem, text, err) != TARQ_RETCODE_OK) {
    Require(err.code == TARQ_RETCODE_INVALID && !err.what.empty());
    Require(problem.Version() == before);
    return 0;
  }
  int rc = 0;
  const std::string first = Written(problem, rc);
  if (rc != TARQ_RETCODE_OK) return 0;  // e.g. MPS cannot express a row with crossed bounds
  Problem again(QuietEnv());
  AddColumns(again);
  IoError err2;
  if (kFormat.reparse(again, first, err2) != TARQ_RETCODE_OK) std::abort();
  Require(Written(again, rc) == first && rc == TARQ_RETCODE_OK);
  return 0;
}
