#include "settings/status_form.h"

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
  // A failed write raises: the walkers stay stopped and the window stays open for a retry.
  WriteSettingsFile(SettingsFilePath(), *this);
  if (Characters)
    for (int slot = 0; slot < kSlotCount; ++slot)
      if (TTimer* walker = Characters->Walker(slot)) walker->SetEnabled(true);
  if (StatusForm1) StatusForm1->Close();
}

void TStatusForm1::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST:
      return WMNCHitTest(m);
    case WM_DROPFILES:
      return WMDropFiles(m);
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
