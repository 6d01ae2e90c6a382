#pragma once
// Plugs "数据修复压缩" (ActVerify) and "从1.0导入数据..." (ActUpgrade) into the
// main window. The objects live as children of the window.

class TMainFrm;
class TDataModule1;
class IMessageBox;
class IFileDialog;
class IDesktop;
class MaintenanceCommands;

void installMaintenanceExtra(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files,
                             IDesktop& desktop);

// The commands installed on frm (null when not installed); tests replace
// their reader of old files through it.
MaintenanceCommands* maintenanceExtraCommands(TMainFrm& frm);
