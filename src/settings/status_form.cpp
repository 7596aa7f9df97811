#include "settings/status_form.h"

#include <shellapi.h>

#include "framework/core/exception.h"
#include "framework/monitors.h"
#include "framework/system.h"
#include "settings/core/information_page.h"

TStatusForm1* StatusForm1 = nullptr;

TStatusForm1::TStatusForm1(TComponent* owner) : TForm(owner) {
  DefineEvent("FormShow", [this](TObject* sender) { FormShow(sender); });
  DefineEvent("CheckBox1Click", [this](TObject* sender) { CheckBox1Click(sender); });
  DefineEvent("CheckBox2Click", [this](TObject* sender) { CheckBox2Click(sender); });
  DefineEvent("CheckBox3Click", [this](TObject* sender) { CheckBox3Click(sender); });
  DefineEvent("CheckBox4Click", [this](TObject* sender) { CheckBox4Click(sender); });
  DefineEvent("Image3Click", [this](TObject* sender) { Image3Click(sender); });
  DefineEvent("Image4Click", [this](TObject* sender) { Image4Click(sender); });
  DefineEvent("Image5Click", [this](TObject* sender) { Image5Click(sender); });
  DefineEvent("Image2Click", [this](TObject* sender) { Image2Click(sender); });
  DefineEvent("TrayIcon1DblClick", [this](TObject* sender) { TrayIcon1DblClick(sender); });
  DefineEvent("S1Click", [this](TObject* sender) { S1Click(sender); });
  DefineEvent("N2Click", [this](TObject* sender) { N2Click(sender); });
  DefineEvent("N1Click", [this](TObject* sender) { N1Click(sender); });
  LoadDescription("TStatusForm1");
  Image1 = Field<TImage>("Image1");
  Image2 = Field<TImage>("Image2");
  Image3 = Field<TImage>("Image3");
  Image4 = Field<TImage>("Image4");
  Image5 = Field<TImage>("Image5");
  Edit1 = Field<TEdit>("Edit1");
  Edit3 = Field<TEdit>("Edit3");
  Edit5 = Field<TEdit>("Edit5");
  Edit7 = Field<TEdit>("Edit7");
  CheckBox1 = Field<TdxfCheckBox>("CheckBox1");
  CheckBox2 = Field<TdxfCheckBox>("CheckBox2");
  CheckBox3 = Field<TdxfCheckBox>("CheckBox3");
  CheckBox4 = Field<TdxfCheckBox>("CheckBox4");
  ImageList1 = Field<TImageList>("ImageList1");
  TrayIcon1 = Field<TTrayIcon>("TrayIcon1");
  PopupMenu1 = Field<TPopupMenu>("PopupMenu1");
  AcceptDroppedFiles(Handle());
  ScaleToScreen();
}

TStatusForm1::~TStatusForm1() {
  // Whoever reaches the settings window through the reference finds it gone.
  if (StatusForm1 == this) StatusForm1 = nullptr;
  DestroyComponents();
}

TdxfCheckBox* TStatusForm1::SlotCheckBox(int slot) const {
  const std::array<TdxfCheckBox*, kSlotCount> boxes{CheckBox1, CheckBox2, CheckBox3, CheckBox4};
  return boxes.at(static_cast<size_t>(slot));
}

TEdit* TStatusForm1::SlotEdit(int slot) const {
  const std::array<TEdit*, kSlotCount> edits{Edit1, Edit3, Edit5, Edit7};
  return edits.at(static_cast<size_t>(slot));
}

void TStatusForm1::FormShow(TObject*) {
  const int selected = SelectedSlot;
  if (selected < 0 || selected >= kSlotCount) return;
  for (int slot = 0; slot < kSlotCount; ++slot)
    ImageList1->Draw(Image1->Canvas(), kPortraitLeft, kPortraitTop + kSlotPitch * slot,
                     slot == selected ? slot : slot + kSlotCount);
  Image1->Refresh();
  for (int slot = 0; slot < kSlotCount; ++slot) SlotEdit(slot)->SetEnabled(slot == selected);
}

void TStatusForm1::ApplyShown(int slot) {
  if (!Characters) return;
  if (TForm* window = Characters->Window(slot)) window->SetVisible(SlotCheckBox(slot)->Checked());
}

void TStatusForm1::CheckBox1Click(TObject*) { ApplyShown(0); }
void TStatusForm1::CheckBox2Click(TObject*) { ApplyShown(1); }
void TStatusForm1::CheckBox3Click(TObject*) { ApplyShown(2); }
void TStatusForm1::CheckBox4Click(TObject*) { ApplyShown(3); }

void TStatusForm1::Image3Click(TObject*) {
  SelectedSlot = SelectedSlot + 1;
  if (SelectedSlot == kSlotCount) SelectedSlot = 0;
  FormShow(nullptr);
}

void TStatusForm1::Image4Click(TObject*) {
  SelectedSlot = SelectedSlot - 1;
  if (SelectedSlot == -1) SelectedSlot = kSlotCount - 1;
  FormShow(nullptr);
}

void TStatusForm1::Image5Click(TObject*) {
  bool anyShown = false;
  for (int slot = 0; slot < kSlotCount; ++slot) anyShown = anyShown || Shown(slot);
  if (!anyShown) {
    RefusalBeep(0);
    return;
  }
  try {
    SaveSettings(*this);
  } catch (const EIniFileException&) {
    // The first failure is shown, and the window stays open for a retry with the walkers
    // stopped. Closing again after it closes the window all the same: the settings then live on
    // in the window until the program ends, and no folder that cannot be written traps the user.
    if (!saveFailed_) {
      saveFailed_ = true;
      throw;
    }
  }
  saveFailed_ = false;
  EnableWalkers({0, 1, 2, 3}, true);
  if (StatusForm1) StatusForm1->Close();
}

void TStatusForm1::EnableWalkers(const std::array<int, kSlotCount>& slots, bool enabled) {
  if (!Characters) return;
  for (int slot : slots)
    if (TTimer* walker = Characters->Walker(slot)) walker->SetEnabled(enabled);
}

void TStatusForm1::OpenForSlot(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  if (Visible()) {
    // Already open (from the tray while a character's menu opened it, or the other way round):
    // showing it modally again would fail; it only comes to the front, its slot kept.
    BringToFront();
    SetForegroundWindow(Handle());
    return;
  }
  // The character's own walker first, then the others in slot order.
  std::array<int, kSlotCount> order{slot};
  for (int other = 0, next = 1; other < kSlotCount; ++other)
    if (other != slot) order.at(static_cast<size_t>(next++)) = other;
  EnableWalkers(order, false);
  SelectedSlot = slot;
  // Its last place may lie where a monitor was.
  KeepOnMonitors(*this);
  try {
    ShowModal();
  } catch (...) {
    // Errors inside the modal loop stay in its window procedures: what arrives here stopped the
    // window from showing, so nothing would ever start the walkers again.
    EnableWalkers({0, 1, 2, 3}, true);
    throw;
  }
}

void TStatusForm1::TrayIcon1DblClick(TObject*) { OpenForSlot(0); }
void TStatusForm1::S1Click(TObject*) { OpenForSlot(0); }

void TStatusForm1::OpenInformationPage() {
  ShellOpen(Handle(), InformationPageAddress(ParamStr(0)));
}

void TStatusForm1::N2Click(TObject*) { OpenInformationPage(); }

void TStatusForm1::Image2Click(TObject*) {
  RefusalBeep(0);
  if (StatusForm1) {
    StatusForm1->SetTop(20 * StatusForm1->Scale());
    StatusForm1->SetLeft(20 * StatusForm1->Scale());
  }
  OpenInformationPage();
}

void TStatusForm1::N1Click(TObject*) {
  if (!Characters) return;
  if (TForm* main = Characters->Window(0)) main->Close();
}

void TStatusForm1::WMDropFiles(TMessage& m) {
  // Released however this ends.
  const DropHandle drop(reinterpret_cast<HDROP>(m.WParam));
  const std::vector<std::wstring> paths = DroppedFiles(drop.Get());
  for (const std::wstring& path : paths)
    if (path.find_first_of(L"\r\n") != std::wstring::npos) {
      RefusalBeep(0);
      return;
    }
  if (paths.empty() || SelectedSlot < 0 || SelectedSlot >= kSlotCount) return;
  // Each item replaces the one before: the last one stays.
  SlotEdit(SelectedSlot)->SetText(Narrow(paths.back()));
}

void TStatusForm1::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST:
      return WMNCHitTest(m);
    case WM_DROPFILES:
      return WMDropFiles(m);
    case WM_DISPLAYCHANGE:
      // A monitor removed or made smaller: the window shown comes back onto one.
      if (Visible()) KeepOnMonitors(*this);
      return TForm::Dispatch(m);
    default:
      return TForm::Dispatch(m);
  }
}

void TStatusForm1::WMNCHitTest(TMessage& m) { m.Result = HTCAPTION; }

void TStatusForm1::WMClose(TMessage& m) {
  m.Result = 0;
  if (Visible()) Image5Click(this);
}

void RegisterSettingsClasses() { RegisterComponentClass<TStatusForm1>("TStatusForm1"); }

bool TStatusForm1::Shown(int slot) const { return SlotCheckBox(slot)->Checked(); }

void TStatusForm1::SetShown(int slot, bool shown) {
  // A change already runs the box's OnClick; the handler runs once more, directly, so that the
  // character matches its box whether or not the value changed.
  SlotCheckBox(slot)->SetChecked(shown);
  ApplyShown(slot);
}

std::string TStatusForm1::LaunchFile(int slot) const { return SlotEdit(slot)->Text(); }

void TStatusForm1::SetLaunchFile(int slot, const std::string& fileName) {
  SlotEdit(slot)->SetText(fileName);
}
