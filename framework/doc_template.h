// Binds one document class, its frame class and its first view class under a resource id
// (menu, accelerators, icon, title string).
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "framework/document.h"

class CFrameWnd;
class CView;

class CSingleDocTemplate {
 public:
  CSingleDocTemplate(UINT resource_id, std::function<CDocument*()> new_document,
                     std::function<CFrameWnd*()> new_frame, std::function<CView*()> new_view);
  ~CSingleDocTemplate();

  // Makes the document, then its frame and views, runs the views' initial update and shows
  // the frame. Returns the frame, or null when any of it failed.
  CFrameWnd* OpenNewDocument(int show = SW_SHOW);

  CDocument* document() const { return document_.get(); }
  UINT resource_id() const { return resource_id_; }

 private:
  UINT resource_id_;
  std::function<CDocument*()> new_document_;
  std::function<CFrameWnd*()> new_frame_;
  std::function<CView*()> new_view_;
  std::unique_ptr<CDocument> document_;
};
