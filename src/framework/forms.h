#pragma once
// Forms (top-level windows built from stored descriptions) and the application object.
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "framework/controls.h"
#include "framework/core/exception.h"
#include "framework/core/guard.h"

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TFormStyle { fsNormal, fsStayOnTop };
// What ShowModal returns: how the modal window was closed (Close gives mrCancel).
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

struct TBorderIcons {
  bool SystemMenu = true, Minimize = true, Maximize = true;
};

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  TBrushStyle BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(TBrushStyle value);

  // Showing a form runs OnShow first (also through SetVisible); Show also brings it to the front.
  void SetVisible(bool value) override;
  void Show();
  void Hide() { SetVisible(false); }
  // Closes the form: the main form ends the program, a modal form ends its ShowModal (mrCancel),
  // any other form is hidden.
  void Close();

  // Shows the form and runs the messages until it is closed (or the program ends), every other
  // window of the program disabled meanwhile (hidden ones too, so that one shown meanwhile takes
  // no input); returns the ModalResult. EInvalidOperation for a form that is already visible.
  TModalResult ShowModal();
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  // Setting a result other than mrNone while the form is modal ends its ShowModal.
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;

  // Called by whoever created the form once its constructor has finished: runs OnCreate. An
  // exception from OnCreate goes on to the caller: a form that failed to set itself up is not
  // used half-built.
  virtual void AfterConstruction();

  void Dispatch(TMessage& message) override;
  void SetProperty(const std::string& name, const Value& value) override;
  void SetEvent(const std::string& name, const TEventHandler& handler) override;
  TEventHandler FindEvent(const std::string& name) const override;

 protected:
  // Reads the stored description of this form's class (the resource named after the class).
  void LoadDescription(const std::string& className);
  // On a screen of more than 96 DPI, draws the form just read at its monitor's whole-pixel scale,
  // its stored place on the screen scaled with it. Nothing changes at 96 DPI.
  void ScaleToScreen();
  // Makes a method available to the stored description under NAME, as a handler of one of the
  // event types (TNotifyEvent, TMouseEvent, ...).
  template <class Handler>
  void DefineEvent(const std::string& name, Handler handler) {
    events_[name] = TEventHandler(std::move(handler));
  }
  // The component NAME of the stored description, as type T; throws if it is missing.
  template <class T>
  T* Field(const std::string& name) const;

  void CreateParamsFor(CreateParams& params) override;
  void CreateWnd() override;
  // The system's close command: Close.
  virtual void WMClose(TMessage& message);
  // The window reached a monitor of another resolution: it takes that monitor's scale at once,
  // keeping its top-left corner where it is.
  virtual void WMDpiChanged(TMessage& message);
  void PaintWindow(HDC dc) override;

 private:
  TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
  TBorderIcons borderIcons_;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TBrushStyle brushStyle_ = TBrushStyle::bsSolid;
  std::map<std::string, TEventHandler> events_;
  bool modal_ = false;
  TModalResult modalResult_ = mrNone;
};

// Creates a form the way the application does: constructor, then AfterConstruction.
template <class T>
T* CreateForm(TComponent* owner, T*& reference);

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  void Initialize() {}
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  // The window of no size that carries the task-bar button and owns every form; made hidden.
  HWND Handle() const { return window_->Handle(); }
  TForm* MainForm() const { return mainForm_; }
  bool ShowMainForm = true;

  // Creates a form owned by the application; the first becomes the main form. REFERENCE is set
  // before the form's constructor runs, so the form's own code can already reach it.
  template <class T>
  void CreateForm(T*& reference);

  // Shows the main form, and with it this window's task-bar button, unless ShowMainForm is off;
  // then runs the message loop until the main form closes.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages();

  // Shows an exception in the standard error box (or hands it to OnException if set). The
  // application is the handler of every callback's exceptions (core/guard.h).
  void HandleException(std::exception_ptr error);
  // One box at a time, above the program's topmost windows. An exception raised while the box
  // is open (a timer keeps ticking inside the box's own message loop) is not shown: it is
  // dropped, and counted in DroppedExceptions.
  void ShowException(const std::exception& error);
  std::function<void(const std::exception&)> OnException;
  bool ShowingException() const { return showingException_; }
  int DroppedExceptions() const { return droppedExceptions_; }

 private:
  void Register(TForm* form);
  void Unregister(TForm* form);

  std::string title_;
  std::unique_ptr<HiddenWindow> window_;
  TExceptionHandler previousHandler_;
  bool showingException_ = false;
  int droppedExceptions_ = 0;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
};

// The application object; made by the program entry (or a test) before any form.
extern TApplication* Application;

template <class T>
T* TForm::Field(const std::string& name) const {
  T* component = dynamic_cast<T*>(FindComponent(name));
  if (!component) throw EReadError(Name() + ": " + name + " がウィンドウ記述にありません");
  return component;
}

template <class T>
T* CreateForm(TComponent* owner, T*& reference) {
  reference = nullptr;
  std::unique_ptr<T> form(new T(owner));
  reference = form.get();
  try {
    form->AfterConstruction();
  } catch (...) {
    reference = nullptr;
    throw;
  }
  return form.release();
}

template <class T>
void TApplication::CreateForm(T*& reference) {
  // The reference is set inside the constructor call, as soon as the object exists.
  struct Construct : T {
    Construct(TComponent* owner, T*& ref) : T((ref = this, owner)) {}
  };
  reference = nullptr;
  T* form = nullptr;
  try {
    form = new Construct(this, reference);
    reference = form;
    Register(form);
    form->AfterConstruction();
  } catch (...) {
    // A form that failed to set itself up is not kept half-built.
    reference = nullptr;
    if (form) Unregister(form);
    delete form;
    throw;
  }
}
