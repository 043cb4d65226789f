// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every record kind and its list.
#include "records/CcBuscard.h"
#include "records/CcExpense.h"
#include "records/CcFreefile.h"
#include "records/CcMemo.h"
#include "records/CcReminder.h"
#include "records/CcScheduler.h"
#include "records/CcSpreadsheet.h"
#include "records/CcTelefon.h"
#include "records/CcTodo.h"
