// The model: its shared record (environment, problem, name) and the implementation class.
#pragma once

#include <string>

#include "frame/handle.h"
#include "frame/status.h"
#include "model/envr.h"
#include "tarq.h"
#include "tarq/model.h"

namespace Tarq::detail {

// Owns the solver problem. Every object record of the model holds a reference on it, so the
// problem lives until the last object of the model is gone.
struct ProblemHolder {
  bool pending = false;  // an object is marked removed and not yet deleted
  tarq_prob* problem = nullptr;

  ProblemHolder() = default;
  ProblemHolder(const ProblemHolder&) = delete;
  ProblemHolder& operator=(const ProblemHolder&) = delete;
  ~ProblemHolder() {
    if (problem != nullptr) TARQ_DeleteProb(&problem);
  }
};

struct ModelRecord {
  BlockRef<EnvHolder> env;
  BlockRef<ProblemHolder> problem;
  std::string name;
};

struct ModelData {
  BlockRef<ModelRecord> record;
  Status status;

  tarq_prob* Problem() const { return record->problem->problem; }
};

// Creates a model in the environment held by env (which may be empty): records code 1
// "Critical: fail to create problem" when no problem could be made.
BlockRef<ModelData> MakeModel(const BlockRef<EnvHolder>& env, const char* name);

}  // namespace Tarq::detail

class TarqModel final : public Tarq::detail::Handled<Tarq::IModel, Tarq::detail::ModelData> {
 public:
  using Handled::Handled;
  int GetErrorCode() const override { return Data().status.Code(); }
  const char* GetErrorMsg() const override { return Data().status.Message(); }
};
