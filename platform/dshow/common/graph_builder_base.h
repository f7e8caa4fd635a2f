// What the capture drivers' capture graph builders share: the one filter graph
// they build in.
//
// SetFiltergraph takes a reference on the graph, once: a second graph gives
// E_UNEXPECTED, a graph the driver cannot build in E_INVALIDARG. FinalRelease
// drops the reference.
#pragma once

#include "platform/dshow/common/media_interface_ids.h"

class GraphBuilderBase : public ComObject<ICaptureGraphBuilder2> {
  public:
    HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* pfg) override;

  protected:
    void FinalRelease() override;

    // Whether `graph` is one of this driver's own.
    virtual bool CanBuildIn(IGraphBuilder* graph) const = 0;
    IGraphBuilder* Graph() const { return m_graph; }

  private:
    IGraphBuilder* m_graph = nullptr;
};
