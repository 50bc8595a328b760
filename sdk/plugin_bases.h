// The plug-in base classes as a module author sees them. Their virtual operations are
// declared in slot order. The host never calls them directly: it calls the forwarding
// entries of the registration records, which the module points at these operations.
// The default implementations belong to the module that links them.
#ifndef LUMENO_SDK_PLUGIN_BASES_H
#define LUMENO_SDK_PLUGIN_BASES_H

#include "host_types.h"

class BaseData {
public:
    virtual ~BaseData() = default;
    /// Slot 0: runs the destructor and, when asked, gives the memory back to the host.
    virtual void Destroy(bool freeMemory);
};

class NodeData : public BaseData {
public:
    virtual bool Init(HostNode* node);                                                 // 1
    virtual void Free(HostNode* node);                                                 // 2
    virtual bool Message(HostNode* node, int32_t type, void* data);                    // 3
    virtual bool Describe(HostNode* node, HostDescription* description, int32_t* flags); // 4
    virtual bool GetParameter(HostNode* node, int32_t id, HostValue* out);           // 5
    virtual bool SetParameter(HostNode* node, int32_t id, const HostValue* value);   // 6
    virtual bool IsEnabled(HostNode* node, int32_t id, const HostValue* data, int32_t flags,
                           const HostContainer* itemDescription);                      // 7
    virtual bool CopyTo(NodeData* dest, HostNode* sourceNode, HostNode* destNode);     // 8
    virtual bool Read(HostNode* node);                                                 // 9
    virtual bool Write(HostNode* node);                                                // 10
    virtual void ChangeNotify(HostNode* node, int32_t kind);                           // 11
    virtual bool IsInstanceOf(int32_t type);                                           // 12
    virtual int32_t GetInfo(HostNode* node);                                           // 13
};

class TagData : public NodeData {
public:
    virtual bool Draw(HostTag* tag, HostSurface* surface);                             // 14
    virtual int32_t Execute(HostTag* tag, HostDocument* document, HostObject* object,
                            int32_t priority, int32_t flags);                          // 15
};

class SceneSaverData : public NodeData {
public:
    /// Slot 14: answers a file result.
    virtual int32_t Save(HostNode* node, const HostFilename* file, HostDocument* document,
                         int32_t flags);
};

class CommandData : public BaseData {
public:
    virtual bool Execute(HostDocument* document);          // 1
    virtual int32_t GetState(HostDocument* document);      // 2
    virtual bool RestoreLayout(void* data);                // 3: true
    virtual HostString* GetScriptName();                   // 4: the empty text
    virtual void Reserved();                               // 5: nothing
};

#endif
