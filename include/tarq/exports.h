// The exported factory functions of the modeling layer. Every Create function returns a new
// heap object owned by the caller, who destroys it through its interface.
#pragma once

#include "tarq/envr.h"
#include "tarq/model.h"
#include "tarq/visibility.h"

extern "C" {

// 8 for 0 (major), 0 for 1 (minor), 1 for 2 (technical), -1 for anything else.
TARQ_CPP_API int GetTarqVersion(int which);

TARQ_CPP_API Tarq::IEnvr* CreateEnvr(Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvr* CreateEnvrWithPath(const char* path, Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvr* CreateEnvrWithConfig(Tarq::IEnvrConfig* config, Tarq::ILogCallback* logSink);
TARQ_CPP_API Tarq::IEnvrConfig* CreateEnvrConfig();

TARQ_CPP_API Tarq::IModel* CreateModel(Tarq::IEnvr* env, const char* name);

}  // extern "C"
