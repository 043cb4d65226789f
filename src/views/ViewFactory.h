// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CDuxelDoc;
class CDuxelView;
class QWidget;
class ViewHost;

// The view of mode index `mode` (0..9) of a document, for a new child window.
CDuxelView* CreateModeView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent = nullptr);
