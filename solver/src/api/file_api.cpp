// File functions of the C interface: readers and writers of the supported formats, and MIP starts.
#include <climits>
#include <cstring>

#include "api/with_problem.h"
#include "io/formats.h"

using tarq_solver::IoError;
using tarq_solver::OutBuffer;
using tarq_solver::Problem;
using tarq_solver::ReadFormatFile;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;
using tarq_solver::WriteFormatFile;

extern "C" {

int TARQ_AddMipStart(tarq_prob* prob, int num, const int* list, const double* values) {
  return WithProblem(prob, [&](Problem& p) { return p.AddMipStart(num, list, values); });
}

int TARQ_ReadMps(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "MPS", tarq_solver::ParseMps); });
}

int TARQ_ReadLp(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "LP", tarq_solver::ParseLp); });
}

int TARQ_ReadBin(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "binary", tarq_solver::ParseBin); });
}

int TARQ_ReadSDPA(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "SDPA", tarq_solver::ParseSdpa); });
}

int TARQ_ReadCbf(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "CBF", tarq_solver::ParseCbf); });
}

int TARQ_ReadMst(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "MIP start", tarq_solver::ParseMst); });
}

int TARQ_ReadOrd(tarq_prob* prob, const char* filename) {
  return WithProblem(prob,
                     [&](Problem& p) { return ReadFormatFile(p, filename, "branching order", tarq_solver::ParseOrd); });
}

int TARQ_WriteMps(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "MPS", tarq_solver::WriteMps); });
}

int TARQ_WriteMpsStr(tarq_prob* prob, char* buf, int size, int* pReqSize) {
  if (buf == nullptr && pReqSize == nullptr) return TARQ_RETCODE_INVALID;
  return ReadProblem(prob, [&](Problem& p) {
    OutBuffer out;
    IoError err;
    if (int rc = tarq_solver::WriteMps(p, out, err); rc != TARQ_RETCODE_OK) {
      p.Log().Printf("Failed to write MPS text: %s", err.what.c_str());
      return rc;
    }
    const std::string& text = out.Text();
    const bool tooLarge = text.size() >= static_cast<size_t>(INT_MAX);
    const int need = tooLarge ? -1 : static_cast<int>(text.size() + 1);
    if (pReqSize != nullptr) *pReqSize = need;
    if (buf == nullptr) return TARQ_RETCODE_OK;
    if (tooLarge || size < need) return TARQ_RETCODE_INVALID;
    std::memcpy(buf, text.c_str(), text.size() + 1);
    return TARQ_RETCODE_OK;
  });
}

int TARQ_WriteLp(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "LP", tarq_solver::WriteLp); });
}

int TARQ_WriteSDPA(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "SDPA", tarq_solver::WriteSdpa); });
}

int TARQ_WriteCbf(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "CBF", tarq_solver::WriteCbf); });
}

int TARQ_WriteBin(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "binary", tarq_solver::WriteBin); });
}

int TARQ_WriteMst(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "MIP start", tarq_solver::WriteMst); });
}

int TARQ_WriteOrd(tarq_prob* prob, const char* filename) {
  return ReadProblem(prob,
                     [&](Problem& p) { return WriteFormatFile(p, filename, "branching order", tarq_solver::WriteOrd); });
}

}  // extern "C"
