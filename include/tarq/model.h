// The model: one solver problem and the record of every object in it.
#pragma once

namespace Tarq {

class IModel {
 public:
  virtual ~IModel() = default;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
};

}  // namespace Tarq
