// The capture graph builders' graph (see graph_builder_base.h).
#include "platform/dshow/common/graph_builder_base.h"

HRESULT GraphBuilderBase::SetFiltergraph(IGraphBuilder* pfg) {
    if (pfg == nullptr) {
        return E_POINTER;
    }
    if (m_graph != nullptr) {
        return E_UNEXPECTED;
    }
    if (!CanBuildIn(pfg)) {
        return E_INVALIDARG;
    }
    m_graph = pfg;
    m_graph->AddRef();
    return S_OK;
}

void GraphBuilderBase::FinalRelease() {
    if (m_graph != nullptr) {
        m_graph->Release();
        m_graph = nullptr;
    }
}
