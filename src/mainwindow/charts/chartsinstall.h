#pragma once
// The statistics tabs of the ledger page, put into the main window's
// PageControl1 and redrawn after every ledger query and node change.

class IDesktop;
class IFileDialog;
class IMessageBox;
class StatisticsTabs;
class TDataModule1;
class TMainFrm;

void installCharts(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files, IDesktop& desktop);

// The tabs installed into a window (null when none).
StatisticsTabs* statisticsTabs(TMainFrm& frm);
