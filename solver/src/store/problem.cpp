#include "store/problem.h"

#include "store/checks.h"

namespace tarq_solver {

Problem::Problem(std::shared_ptr<const EnvCore> env) : env_(std::move(env)) {
  // The environment's "LogToConsole" setting is the problem's default for that parameter.
  params_.SetDefault(IntParam::LogToConsole, env_->settings.logToConsole ? 1 : 0);
  ApplyLogParams(params_, log_);
  log_.SetFile(env_->logFile);
}

void Problem::Reset(bool all) {
  results_.Clear();
  if (all && mipStarts_.Size() > 0) ReplaceMipStarts(MipStartTable());
  if (all) nl_.start.clear();
  results_.version = version_;
}

Results& Problem::Result() {
  if (results_.version != version_) {
    results_.ForgetStale(cols_.Size(), rows_.Size(), cols_.lower.data(), cols_.upper.data());
    results_.version = version_;
  }
  return results_;
}

void Problem::Clear() {
  results_.Clear();
  cols_ = ColumnTable();
  rows_ = RowTable();
  matrix_.Clear();
  mipStarts_ = MipStartTable();
  quad_ = QuadStore();
  nl_ = NlStore();
  multiObjs_.Clear();
  psd_ = PsdStore();
  sos_cone_ = SosConeStore();
  objSense_ = 1;
  objConst_ = 0;
  stamp_.clear();
  stamp_.shrink_to_fit();
  Modified();
}

int Problem::SetObjSense(int sense) {
  if (sense != 1 && sense != -1) return TARQ_RETCODE_INVALID;
  objSense_ = sense;
  Modified();
  return TARQ_RETCODE_OK;
}

int Problem::SetObjConst(double value) {
  if (!ValidCoef(value)) return TARQ_RETCODE_INVALID;
  objConst_ = value;
  Modified();
  return TARQ_RETCODE_OK;
}

}  // namespace tarq_solver
