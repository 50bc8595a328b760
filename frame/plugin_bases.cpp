// The default operations of the plug-in base classes: what a plug-in does in a slot it does not
// override.
#include "plugin_bases.h"

#include "frame/host_api.h"
#include "host_constants.h"

void BaseData::Destroy(bool freeMemory) {
    // Every instance lives in a host block that starts at its most derived object.
    void* block = dynamic_cast<void*>(this);
    this->~BaseData();
    if (freeMemory) HostFree(block);
}

bool NodeData::Init(HostNode*) { return true; }
void NodeData::Free(HostNode*) {}
bool NodeData::Message(HostNode*, int32_t, void*) { return true; }
// Leaves the flags alone, so the host shows the description registered for the plug-in.
bool NodeData::Describe(HostNode*, HostDescription*, int32_t*) { return true; }
// False: the host reads and writes the parameter in the node's container itself.
bool NodeData::GetParameter(HostNode*, int32_t, HostValue*) { return false; }
bool NodeData::SetParameter(HostNode*, int32_t, const HostValue*) { return false; }
bool NodeData::IsEnabled(HostNode*, int32_t, const HostValue*, int32_t, const HostContainer*) {
    return true;
}
bool NodeData::CopyTo(NodeData*, HostNode*, HostNode*) { return true; }
bool NodeData::Read(HostNode*) { return true; }
bool NodeData::Write(HostNode*) { return true; }
void NodeData::ChangeNotify(HostNode*, int32_t) {}
bool NodeData::IsInstanceOf(int32_t) { return false; }
int32_t NodeData::GetInfo(HostNode*) { return 0; }

bool TagData::Draw(HostTag*, HostSurface*) { return true; }
int32_t TagData::Execute(HostTag*, HostDocument*, HostObject*, int32_t, int32_t) { return 0; }

// A saver that does not override its save writes nothing, and must not claim it did.
int32_t SceneSaverData::Save(HostNode*, const HostFilename*, HostDocument*, int32_t) {
    return FILE_RESULT_OPEN_FAILED;
}

bool CommandData::Execute(HostDocument*) { return false; }
int32_t CommandData::GetState(HostDocument*) { return COMMAND_STATE_ENABLED; }
bool CommandData::RestoreLayout(void*) { return true; }
HostString* CommandData::GetScriptName() { return TextFromCString(""); }
void CommandData::Reserved() {}
