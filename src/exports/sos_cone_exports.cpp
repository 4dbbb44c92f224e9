#include "scalar/sos_cone.h"
#include "tarq/exports.h"

extern "C" {

Tarq::ISosArray* CreateSosArray() { return new TarqSosArray(); }
Tarq::ISosBuilder* CreateSosBuilder() { return new TarqSosBuilder(); }
Tarq::ISosBuilderArray* CreateSosBuilderArray() { return new TarqSosBuilderArray(); }
Tarq::IGenConstrArray* CreateGenConstrArray() { return new TarqGenConstrArray(); }
Tarq::IGenConstrBuilder* CreateGenConstrBuilder() { return new TarqGenConstrBuilder(); }
Tarq::IGenConstrBuilderArray* CreateGenConstrBuilderArray() { return new TarqGenConstrBuilderArray(); }
Tarq::IConeArray* CreateConeArray() { return new TarqConeArray(); }
Tarq::IConeBuilder* CreateConeBuilder() { return new TarqConeBuilder(); }
Tarq::IConeBuilderArray* CreateConeBuilderArray() { return new TarqConeBuilderArray(); }
Tarq::IExpConeArray* CreateExpConeArray() { return new TarqExpConeArray(); }
Tarq::IExpConeBuilder* CreateExpConeBuilder() { return new TarqExpConeBuilder(); }
Tarq::IExpConeBuilderArray* CreateExpConeBuilderArray() { return new TarqExpConeBuilderArray(); }

}  // extern "C"
