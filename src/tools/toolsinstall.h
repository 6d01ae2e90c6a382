#pragma once
// Puts the interest and income-tax calculators behind the main window's
// tool commands.

class TMainFrm;
class TDataModule1;
class IMessageBox;
class IFileDialog;
class IDesktop;

void installTools(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files, IDesktop& desktop);
