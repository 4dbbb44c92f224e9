// Reading and writing files by suffix, and writing MPS text into a problem buffer.
#include "model/file_names.h"
#include "model/model_templates.h"
#include "model/prob_buffer.h"
#include "model/tarq_model.h"
#include "scalar/constraint.h"
#include "scalar/var.h"

using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

using FileFn = int (*)(tarq_prob*, const char*);

enum class Reads { kProblem, kSolution, kSettings };

struct ReadKind {
  const char* suffix;
  const char* gzSuffix;
  FileFn call;
  const char* message;
  Reads reads;
};

// The read dispatcher tries these in order.
const ReadKind kReaders[] = {
    {".mps", ".mps.gz", TARQ_ReadMps, "Failed to read MPS file", Reads::kProblem},
    {".lp", ".lp.gz", TARQ_ReadLp, "Failed to read LP file", Reads::kProblem},
    {".bin", ".bin.gz", TARQ_ReadBin, "Failed to read TARQ binary file", Reads::kProblem},
    {".dat-s", ".dat-s.gz", TARQ_ReadSDPA, "Failed to read SDPA file", Reads::kProblem},
    {".cbf", ".cbf.gz", TARQ_ReadCbf, "Failed to read CBF file", Reads::kProblem},
    {".sol", ".sol.gz", TARQ_ReadSol, "Failed to read solution file", Reads::kSolution},
    {".json", ".json.gz", TARQ_ReadJsonSol, "Failed to read JSON solution file", Reads::kSolution},
    {".bas", ".bas.gz", TARQ_ReadBasis, "Failed to read basis file", Reads::kSolution},
    {".mst", ".mst.gz", TARQ_ReadMst, "Failed to read MIP start file", Reads::kSolution},
    {".ord", ".ord.gz", TARQ_ReadOrd, "Failed to read branching order file", Reads::kSolution},
    {".par", ".par.gz", TARQ_ReadParam, "Failed to read parameter file", Reads::kSettings},
    {".tune", ".tune.gz", TARQ_ReadTune, "Failed to read tune file", Reads::kSettings},
};
enum ReaderIndex { kMps, kLp, kBin, kSdpa, kCbf, kSol, kJson, kBas, kMst, kOrd, kPar, kTune };

struct WriteKind {
  const char* suffix;
  FileFn call;
  const char* message;
  bool flush = true;  // parameters do not depend on the numbering
};

// The write dispatcher tries these in order.
const WriteKind kWriters[] = {
    {".mps", TARQ_WriteMps, "Fail to write to MPS file"},
    {".lp", TARQ_WriteLp, "Fail to write to LP file"},
    {".cbf", TARQ_WriteCbf, "Fail to write to CBF file"},
    {".bin", TARQ_WriteBin, "Fail to write to TARQ binary file"},
    {".nl", TARQ_WriteNL, "Fail to write to NL file"},
    {".iis", TARQ_WriteIIS, "Fail to write to IIS file"},
    {".relax", TARQ_WriteRelax, "Fail to write to feasibility relaxation problem file"},
    {".sol", TARQ_WriteSol, "Fail to write to solution file"},
    {".json", TARQ_WriteJsonSol, "Fail to write to JSON solution file"},
    {".bas", TARQ_WriteBasis, "Fail to write to basis file"},
    {".mst", TARQ_WriteMst, "Fail to write to MIP start file"},
    {".ord", TARQ_WriteOrd, "Fail to write to branching order file"},
    {".par", TARQ_WriteParam, "Fail to write to Param file", false},
};
enum WriterIndex { kWMps, kWLp, kWCbf, kWBin, kWNl, kWIis, kWRelax, kWSol, kWJson, kWBas, kWMst, kWOrd, kWPar };

void ReadOne(ModelData& m, const ReadKind& k, const char* name) {
  if (name == nullptr || name[0] == '\0') {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", k.message);
    return;
  }
  if (k.reads == Reads::kSolution && !m.Flush()) return;
  const std::string path = Tarq::detail::ResolveFileName(name);
  if (path.empty()) {
    Record(m.status, TARQ_RETCODE_FILE, "%s", k.message);
    return;
  }
  if (Checked(m.status, k.call(m.Problem(), path.c_str()), "%s", k.message) && k.reads == Reads::kProblem) {
    m.Resync();
  }
}

// Checks the name, flushes and resolves the path; the caller then makes the solver call.
bool PrepareWrite(ModelData& m, const char* name, const char* message, std::string& path, bool flush = true) {
  if (name == nullptr || name[0] == '\0') {
    Record(m.status, TARQ_RETCODE_INVALID, "%s", message);
    return false;
  }
  if (flush && !m.Flush()) return false;
  path = Tarq::detail::ResolveFileName(name);
  if (path.empty()) {
    Record(m.status, TARQ_RETCODE_FILE, "%s", message);
    return false;
  }
  return true;
}

void WriteOne(ModelData& m, const WriteKind& k, const char* name) {
  std::string path;
  if (!PrepareWrite(m, name, k.message, path, k.flush)) return;
  Checked(m.status, k.call(m.Problem(), path.c_str()), "%s", k.message);
}

void WriteIndexed(ModelData& m, int (*call)(tarq_prob*, int, const char*), int index, const char* name,
                  const char* message) {
  std::string path;
  if (!PrepareWrite(m, name, message, path)) return;
  Checked(m.status, call(m.Problem(), index, path.c_str()), "%s", message);
}

}  // namespace

void TarqModel::Read(const char* name) {
  for (const ReadKind& k : kReaders) {
    if (Tarq::detail::HasSuffix(name, k.suffix) || Tarq::detail::HasSuffix(name, k.gzSuffix)) {
      ReadOne(Data(), k, name);
      return;
    }
  }
  Record(Data().status, TARQ_RETCODE_INVALID, "Unknown file type");
}

void TarqModel::ReadMps(const char* name) { ReadOne(Data(), kReaders[kMps], name); }
void TarqModel::ReadLp(const char* name) { ReadOne(Data(), kReaders[kLp], name); }
void TarqModel::ReadSdpa(const char* name) { ReadOne(Data(), kReaders[kSdpa], name); }
void TarqModel::ReadCbf(const char* name) { ReadOne(Data(), kReaders[kCbf], name); }
void TarqModel::ReadBin(const char* name) { ReadOne(Data(), kReaders[kBin], name); }
void TarqModel::ReadSol(const char* name) { ReadOne(Data(), kReaders[kSol], name); }
void TarqModel::ReadJsonSol(const char* name) { ReadOne(Data(), kReaders[kJson], name); }
void TarqModel::ReadBasis(const char* name) { ReadOne(Data(), kReaders[kBas], name); }
void TarqModel::ReadMst(const char* name) { ReadOne(Data(), kReaders[kMst], name); }
void TarqModel::ReadOrd(const char* name) { ReadOne(Data(), kReaders[kOrd], name); }
void TarqModel::ReadParam(const char* name) { ReadOne(Data(), kReaders[kPar], name); }
void TarqModel::ReadTune(const char* name) { ReadOne(Data(), kReaders[kTune], name); }

void TarqModel::Write(const char* name) {
  for (const WriteKind& k : kWriters) {
    if (Tarq::detail::HasSuffix(name, k.suffix)) {
      WriteOne(Data(), k, name);
      return;
    }
  }
}

void TarqModel::WriteMps(const char* name) { WriteOne(Data(), kWriters[kWMps], name); }

void TarqModel::WriteMpsStr(Tarq::IProbBuffer* buffer) {
  ModelData& m = Data();
  if (buffer == nullptr || !m.Flush()) return;
  std::vector<char>& bytes = static_cast<TarqProbBuffer*>(buffer)->Data();
  int size = 0;
  if (!Checked(m.status, TARQ_WriteMpsStr(m.Problem(), nullptr, 0, &size), "Fail to get required size of MPS problem")) {
    return;
  }
  if (size < 0) {
    Record(m.status, TARQ_RETCODE_INTERNAL, "The size of MPS problem exceeds the limit");
    return;
  }
  if (static_cast<std::size_t>(size) > bytes.size()) bytes.resize(static_cast<std::size_t>(size) + 1, '\0');
  const int capacity = bytes.size() > 2147483647u ? 2147483647 : static_cast<int>(bytes.size());
  Checked(m.status, TARQ_WriteMpsStr(m.Problem(), bytes.data(), capacity, &size), "Fail to output MPS problem to string");
}

void TarqModel::WriteLp(const char* name) { WriteOne(Data(), kWriters[kWLp], name); }
void TarqModel::WriteCbf(const char* name) { WriteOne(Data(), kWriters[kWCbf], name); }
void TarqModel::WriteBin(const char* name) { WriteOne(Data(), kWriters[kWBin], name); }
void TarqModel::WriteNl(const char* name) { WriteOne(Data(), kWriters[kWNl], name); }
void TarqModel::WriteIIS(const char* name) { WriteOne(Data(), kWriters[kWIis], name); }
void TarqModel::WriteRelax(const char* name) { WriteOne(Data(), kWriters[kWRelax], name); }
void TarqModel::WriteSol(const char* name) { WriteOne(Data(), kWriters[kWSol], name); }
void TarqModel::WriteJsonSol(const char* name) { WriteOne(Data(), kWriters[kWJson], name); }

void TarqModel::WritePoolSol(int index, const char* name) {
  WriteIndexed(Data(), TARQ_WritePoolSol, index, name, "Fail to write to JSON solution file");
}

void TarqModel::WriteBasis(const char* name) { WriteOne(Data(), kWriters[kWBas], name); }
void TarqModel::WriteMst(const char* name) { WriteOne(Data(), kWriters[kWMst], name); }
void TarqModel::WriteOrd(const char* name) { WriteOne(Data(), kWriters[kWOrd], name); }
void TarqModel::WriteParam(const char* name) { WriteOne(Data(), kWriters[kWPar], name); }

void TarqModel::WriteTuneParam(int index, const char* name) {
  WriteIndexed(Data(), TARQ_WriteTuneParam, index, name, "Fail to write to tune file");
}
