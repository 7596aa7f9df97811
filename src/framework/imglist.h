#pragma once
// TImageList: a list of pictures of one size, drawn by index, with links that hear of changes.
#include <functional>
#include <memory>
#include <vector>

#include "framework/classes.h"
#include "framework/graphics.h"

class TImageList;

// Tells its holder when the image list it is registered with changes. It leaves that list when
// destroyed; the list forgets its links (Sender becomes null) when it is destroyed first.
class TChangeLink {
 public:
  TChangeLink() = default;
  ~TChangeLink();
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  TImageList* Sender() const { return sender_; }
  std::function<void()> OnChange;

 private:
  friend class TImageList;
  TImageList* sender_ = nullptr;
};

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  // The largest side a picture may have.
  static constexpr int kMaxSide = 32767;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A new size (1 to kMaxSide, else EInvalidGraphic) empties the list: its pictures all have the
  // list's size.
  void SetWidth(int value);
  void SetHeight(int value);
  int Count() const { return static_cast<int>(pictures_.size()) + StripCount(); }

  // Appends a copy of PICTURE, which must have the list's size (else EInvalidGraphic); returns
  // its index.
  int Add(const Image& picture);
  void Delete(int index);
  void Clear();
  // Draws picture INDEX with its top-left corner at (x, y): opaque, or with Masked its
  // bottom-left pixel's colour letting the canvas show. EListError outside 0..Count-1.
  void Draw(TCanvas* canvas, int x, int y, int index);
  // Appends the pictures of STRIP, cut from the left in pictures of the list's size: its height
  // must be the list's and its width a multiple of the list's (else EInvalidGraphic, nothing
  // added). Stored as "Bitmap.Data".
  void AddStrip(const Image& strip);
  bool Masked() const { return masked_; }
  void SetMasked(bool value) { masked_ = value; }
  // The colour behind the pictures where a masked list lets it show; clNone: the canvas's own.
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value) { bkColor_ = value; }
  // Picture INDEX drawn into a WIDTH x HEIGHT 24-bit picture at its top-left corner (cut, or
  // black beyond it), as an opaque icon.
  IconHandle GetIcon(int index, int width, int height);

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

  void SetProperty(const std::string& name, const Value& value) override;

 private:
  void Change();
  TBitmap& Picture(int index);
  // EInvalidGraphic unless a strip of WIDTH x HEIGHT cuts into pictures of the list's size.
  void CheckStrip(int width, int height) const;
  // Appends STRIP's pictures, telling no one: the list's pictures were already counted.
  void CutStrip(const Image& strip);
  // Cuts the stored strip not cut yet into its pictures, after those before it.
  void CutStoredStrip();
  // The pictures of the stored strip not cut yet, which come after those of pictures_.
  int StripCount() const { return strip_.Empty() ? 0 : strip_.Width() / width_; }

  int width_ = 16, height_ = 16;
  bool masked_ = false;  // the list's pictures are opaque unless it is masked
  TColor bkColor_ = clNone;
  std::vector<std::unique_ptr<TBitmap>> pictures_;
  // A stored strip ("Bitmap.Data") is cut into its pictures when they are first needed: a list
  // of pictures never shown holds none of them.
  TBitmap strip_;
  std::vector<TChangeLink*> links_;
};
