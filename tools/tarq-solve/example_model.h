// The built-in example of tarq-solve: a small production-planning MIP.
#pragma once

#include "tarq/tarq.hpp"

namespace tarqsolve {

// Products use wood, labour and machine time; each unit earns a profit, and making a product
// at all costs a setup. Chooses how many of each to make (at most 40, and only when set up) to
// maximise profit minus setup costs. Returns false, with the model's message, when a step fails.
bool BuildExample(Tarq::IModel& model, std::string& error);

}  // namespace tarqsolve
