#include "app/about_dlg.h"

#include "app/shell_tools.h"
#include "framework/win_app.h"
#include "resources/resource.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {
  // The link is a notify static: its click arrives as the control's command.
  MapCommand(IDC_ABOUT_LINK, [this] { ShellOpen(link_.GetWindowText()); });
}

BOOL CAboutDlg::OnInitDialog() {
  SetUpTitle();
  SetUpLink();
  return CDialog::OnInitDialog();
}

void CAboutDlg::SetUpTitle() {
  if (!title_.SubclassDlgItem(IDC_ABOUT_TITLE, this)) return;
  LOGFONTA bold = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  title_.SetFont(bold, false);
  // The static paints with its own font; the colour answer's font alone does not reach it.
  title_.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(title_.font()), FALSE);
  title_.SetWindowText(LoadResourceString(IDS_APP_VERSION_TITLE));
}

void CAboutDlg::SetUpLink() {
  const std::string address = LoadResourceString(IDS_MAKER_WEB_ADDRESS);
  link_.SetURL(address);
  if (!link_.SubclassDlgItem(IDC_ABOUT_LINK, this)) return;
  link_.SetLinkText(address);
  link_.SetLinkFlags(kLinkHoverColour, kLinkHoverColour);
  // Every link shown from now on in the process takes these colours.
  LinkColours colours = CHyperLink::GetColours();
  colours.link = RGB(0, 0, 128);
  colours.hover = RGB(0, 0, 255);
  CHyperLink::SetColours(colours);
}
