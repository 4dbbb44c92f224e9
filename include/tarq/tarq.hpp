// Everything an application needs: the interfaces, the exception and the factory functions.
#pragma once

#include "tarq/constraint.h"
#include "tarq/envr.h"
#include "tarq/exception.h"
#include "tarq/exports.h"
#include "tarq/expr.h"
#include "tarq/lmi.h"
#include "tarq/model.h"
#include "tarq/psd_expr.h"
#include "tarq/psd_var.h"
#include "tarq/sym_mat.h"
#include "tarq/var.h"
#include "tarq/ndarray.h"
#include "tarq/ndim.h"
#include "tarq/prob_buffer.h"
#include "tarq/view.h"
