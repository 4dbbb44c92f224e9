#include "model/envr.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/tarq_model.h"

namespace Tarq::detail {

BlockRef<EnvrData> MakeEnvr(const EnvrSource& source, ILogCallback* sink) {
  auto data = BlockRef<EnvrData>::Make();
  data->holder = BlockRef<EnvHolder>::Make(sink);
  EnvHolder& holder = *data->holder;

  char banner[1024] = {};
  bool showBanner = true;
  if (source.useConfig) {
    // The configuration's leading word is non-zero when it turns the banner off.
    std::int32_t leading = 1;
    if (source.config != nullptr) std::memcpy(&leading, source.config, sizeof leading);
    showBanner = leading == 0;
  }
  int rc = showBanner ? TARQ_GetBanner(banner, 1020) : 0;
  if (rc == 0) {
    rc = source.useConfig ? TARQ_CreateEnvWithConfig(source.config, &holder.handle)
                          : TARQ_CreateEnvWithPath(source.path, &holder.handle);
  }
  if (banner[0] != '\0') {
    if (sink == nullptr) {
      std::fputs(banner, stdout);
      std::fputc('\n', stdout);
      std::fflush(stdout);
    } else {
      sink->Display(banner);
    }
  }
  Record(data->status, rc, "%s", source.failMessage);
  return data;
}

}  // namespace Tarq::detail

Tarq::IModel* TarqEnvr::CreateModel(const char* name) {
  return new TarqModel(Tarq::detail::MakeModel(Data().holder, name));
}

int TarqEnvr::Close() { return TARQ_CloseEnv(&Data().holder->handle); }

void TarqEnvrConfig::Set(const char* name, const char* value) {
  auto& data = Data();
  Tarq::detail::Checked(data.status, TARQ_SetEnvConfig(data.holder->handle, name, value),
                        "Fail to set TARQ environment config");
}
