// Everything an application needs: the interfaces, the exception and the factory functions.
#pragma once

#include "tarq/constraint.h"
#include "tarq/envr.h"
#include "tarq/exception.h"
#include "tarq/exports.h"
#include "tarq/expr.h"
#include "tarq/model.h"
#include "tarq/var.h"
#include "tarq/ndarray.h"
#include "tarq/ndim.h"
#include "tarq/prob_buffer.h"
#include "tarq/nl_expr.h"
#include "tarq/nlconstraint.h"
#include "tarq/qconstraint.h"
#include "tarq/quad_expr.h"
#include "tarq/view.h"
