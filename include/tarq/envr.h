// Environments, their configurations and the caller's log sink.
#pragma once

namespace Tarq {

class IModel;

// Supplied by the caller: receives the banner when an environment is created and, once
// registered on a model, every log line of the solver.
class ILogCallback {
 public:
  virtual ~ILogCallback() = default;
  virtual void Display(const char* msg) = 0;
};

// A set of name/value settings applied when an environment is created from it.
class IEnvrConfig {
 public:
  virtual ~IEnvrConfig() = default;
  // Records "Fail to set TARQ environment config" when the solver library rejects the setting.
  virtual void Set(const char* name, const char* value) = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

// Owns the solver environment; every model is created in one. The solver environment lives until
// this object and every model made in it are destroyed.
class IEnvr {
 public:
  virtual ~IEnvr() = default;
  // A new model in this environment, owned by the caller; name may be null.
  virtual IModel* CreateModel(const char* name) = 0;
  // Closes the solver environment and returns the solver library's code; records nothing.
  virtual int Close() = 0;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
