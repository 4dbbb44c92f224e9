// File functions of the C interface for results and settings: solutions, bases, IIS,
// feasibility relaxations and tuning results. Writers build the whole text first, so a write
// that fails leaves the file as it was.
#include "api/with_problem.h"
#include "io/solution_files.h"

using tarq_solver::IoError;
using tarq_solver::OutBuffer;
using tarq_solver::Problem;
using tarq_solver::ReadFormatFile;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

namespace {

// Runs write(out, err) into memory and only then writes filename, so a writer that fails (no
// solution, no basis, ...) leaves an existing file untouched. Logs one line on failure.
template <class Write>
int WriteResultFile(Problem& p, const char* filename, const char* kind, Write write) {
  if (filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
  const std::string path = p.Env().Resolve(filename);
  IoError err;
  OutBuffer text;
  int rc = write(text, err);
  if (rc == TARQ_RETCODE_OK) {
    OutBuffer file;
    rc = file.Open(path, err);
    if (rc == TARQ_RETCODE_OK) {
      file.Put(text.Text());
      rc = file.Close(err);
    }
  }
  if (rc != TARQ_RETCODE_OK) p.Log().Printf("Failed to write %s file \"%s\": %s", kind, path.c_str(), err.what.c_str());
  return rc;
}

template <int (*Fn)(Problem&, OutBuffer&, IoError&)>
int WritePlain(tarq_prob* prob, const char* filename, const char* kind) {
  return ReadProblem(prob, [&](Problem& p) {
    return WriteResultFile(p, filename, kind, [&](OutBuffer& out, IoError& err) { return Fn(p, out, err); });
  });
}

}  // namespace

extern "C" {

int TARQ_ReadSol(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "solution", tarq_solver::ParseSol); });
}

int TARQ_WriteSol(tarq_prob* prob, const char* filename) {
  return WritePlain<tarq_solver::WriteSol>(prob, filename, "solution");
}

int TARQ_WritePoolSol(tarq_prob* prob, int index, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) {
    return WriteResultFile(p, filename, "pool solution",
                           [&](OutBuffer& out, IoError& err) { return tarq_solver::WritePoolSol(p, index, out, err); });
  });
}

int TARQ_ReadJsonSol(tarq_prob* prob, const char* filename) {
  return WithProblem(
      prob, [&](Problem& p) { return ReadFormatFile(p, filename, "JSON solution", tarq_solver::ParseJsonSol); });
}

int TARQ_WriteJsonSol(tarq_prob* prob, const char* filename) {
  return WritePlain<tarq_solver::WriteJsonSol>(prob, filename, "JSON solution");
}

int TARQ_ReadBasis(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "basis", tarq_solver::ParseBasis); });
}

int TARQ_WriteBasis(tarq_prob* prob, const char* filename) {
  return WritePlain<tarq_solver::WriteBasis>(prob, filename, "basis");
}

int TARQ_WriteIIS(tarq_prob* prob, const char* filename) {
  return WritePlain<tarq_solver::WriteIis>(prob, filename, "IIS");
}

int TARQ_WriteRelax(tarq_prob* prob, const char* filename) {
  return WritePlain<tarq_solver::WriteRelax>(prob, filename, "feasibility relaxation");
}

int TARQ_ReadTune(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "tune", tarq_solver::ParseTune); });
}

int TARQ_WriteTuneParam(tarq_prob* prob, int index, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) {
    return WriteResultFile(p, filename, "tune", [&](OutBuffer& out, IoError& err) {
      return tarq_solver::WriteTuneResult(p, index, out, err);
    });
  });
}

}  // extern "C"
