// A view: a child window of a frame that shows its document.
#pragma once
#include <functional>

#include "framework/wnd.h"

class CDocument;
class CFrameWnd;
class CView;

// What a frame needs to make its views.
struct CCreateContext {
  CDocument* document = nullptr;
  std::function<CView*()> new_view;  // the template's view class
};

class CView : public CWnd {
 public:
  ~CView() override;

  // Creates the view window as a child with the given id; the view deletes itself when
  // its window is destroyed.
  virtual bool Create(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context);
  // Once the frame and all views exist.
  virtual void OnInitialUpdate() {}

  CDocument* GetDocument() const { return document_; }
  // The nearest frame window among the ancestors.
  CFrameWnd* GetParentFrame() const;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void PostNcDestroy() override { delete this; }
  void BindDocument(CCreateContext* context);

 private:
  CDocument* document_ = nullptr;
};
