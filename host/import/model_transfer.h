// The model reading's requests and answers as they cross the pipe between lumeno-host and its
// reading child: a compact binary form written straight into the pipe and read straight out of
// it. Both ends are one program (the child is a fork), so plain values travel as their bytes and
// each geometry array as one block.
//
// Each struct lists its fields once, in fields() below, for both directions. The list binds the
// struct's members by position, so a member added to a struct stops the build here until it is
// added to the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "host/documents/document_file.h"
#include "host/import/imported_model.h"
#include "host/import/model_reading.h"
#include "host/preview/mesh_file_loader.h"

namespace host::import::transfer {

/// What the reading child is asked to do.
enum class Request : uint8_t { ImportModel = 1, LoadMeshFile = 2 };

/// Where written bytes go.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void write(const void* data, std::size_t size) = 0;
};

/// Where read bytes come from; throws when it cannot give them all.
class Source {
public:
    virtual ~Source() = default;
    virtual void read(void* data, std::size_t size) = 0;
    /// The most bytes one string or array may declare: a larger count is not an answer of the
    /// reading but damage, and is refused before anything is allocated for it.
    virtual uint64_t largestBlock() const = 0;
};

/// Bytes that do not form an answer.
class TransferError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The field lists.

template <class Io> void fields(Io& io, docfile::Param& v) {
    auto& [path, id, symbol, value] = v;
    io(path, id, symbol, value);
}
template <class Io> void fields(Io& io, docfile::FileValue& v) {
    auto& [path] = v;
    io(path);
}
template <class Io> void fields(Io& io, docfile::ObjectLink& v) {
    auto& [path] = v;
    io(path);
}
template <class Io> void fields(Io& io, docfile::MaterialLink& v) {
    auto& [name] = v;
    io(name);
}
template <class Io> void fields(Io& io, docfile::Container& v) {
    auto& [entries] = v;
    io(entries);
}
template <class Io> void fields(Io& io, docfile::Tag& v) {
    auto& [path, kind, name, pluginId, pluginName, material, target, params] = v;
    io(path, kind, name, pluginId, pluginName, material, target, params);
}
template <class Io> void fields(Io& io, docfile::Object& v) {
    auto& [path, type, name, placement, params, points, polygons, uvs, tags, children] = v;
    io(path, type, name, placement, params, points, polygons, uvs, tags, children);
}
template <class Io> void fields(Io& io, docfile::Channel& v) {
    auto& [path, on, texture, data] = v;
    io(path, on, texture, data);
}
template <class Io> void fields(Io& io, docfile::Material& v) {
    auto& [path, name, channels, params] = v;
    io(path, name, channels, params);
}
template <class Io> void fields(Io& io, docfile::View& v) {
    auto& [path, kind, camera, placement, params] = v;
    io(path, kind, camera, placement, params);
}
template <class Io> void fields(Io& io, docfile::Settings& v) {
    auto& [path, name] = v;
    io(path, name);
}
template <class Io> void fields(Io& io, docfile::Document& v) {
    auto& [file, objects, materials, view, settings] = v;
    io(file, objects, materials, view, settings);
}
template <class Io> void fields(Io& io, EmbeddedTexture& v) {
    auto& [file, bytes] = v;
    io(file, bytes);
}
template <class Io> void fields(Io& io, ImportedModel& v) {
    auto& [document, embedded, counts, unitSource, scale, notes] = v;
    io(document, embedded, counts, unitSource, scale, notes);
}
template <class Io> void fields(Io& io, ImportOptions& v) {
    auto& [scale, documentFolder, embeddedStem, lightTag, embeddedByContent] = v;
    io(scale, documentFolder, embeddedStem, lightTag, embeddedByContent);
}
template <class Io> void fields(Io& io, MeshPart& v) {
    auto& [material, diffuse, corners, uvs] = v;
    io(material, diffuse, corners, uvs);
}
template <class Io> void fields(Io& io, ReadingOutcome& v) {
    auto& [kind, message] = v;
    io(kind, message);
}

// The forms of the values the lists name. Plain values (numbers, vectors, matrices, counts)
// are their bytes; a struct with a list above is its fields in turn.

template <class T> struct IsVector : std::false_type {};
template <class T> struct IsVector<std::vector<T>> : std::true_type {};
template <class T> struct IsOptional : std::false_type {};
template <class T> struct IsOptional<std::optional<T>> : std::true_type {};
template <class T> struct IsVariant : std::false_type {};
template <class... T> struct IsVariant<std::variant<T...>> : std::true_type {};
template <class T> struct IsMap : std::false_type {};
template <class K, class V> struct IsMap<std::map<K, V>> : std::true_type {};

/// Plain values that travel as their bytes; a bool and an optional are checked when read, so
/// they are not among them.
template <class T>
constexpr bool isPlain = std::is_trivially_copyable_v<T> && !std::is_same_v<T, bool> && !IsOptional<T>::value;

class Writer {
public:
    explicit Writer(Sink& sink) : sink_(sink) {}

    template <class... T> void operator()(T&... values) { (put(values), ...); }

private:
    template <class T> void put(T& value) {
        if constexpr (std::is_same_v<T, bool>) {
            putFlag(value);
        } else if constexpr (isPlain<T>) {
            sink_.write(&value, sizeof value);
        } else if constexpr (std::is_same_v<T, std::string>) {
            putCount(value.size());
            putBlock(value.data(), value.size());
        } else if constexpr (std::is_same_v<T, std::filesystem::path>) {
            std::string text = value.string();
            put(text);
        } else if constexpr (std::is_same_v<T, JsonPlace>) {
            std::string text = value.text();
            put(text);
        } else if constexpr (IsOptional<T>::value) {
            putFlag(value.has_value());
            if (value) put(*value);
        } else if constexpr (IsVariant<T>::value) {
            putCount(value.index());
            std::visit([this](auto& held) { put(held); }, value);
        } else if constexpr (IsVector<T>::value) {
            putCount(value.size());
            if constexpr (isPlain<typename T::value_type>)
                putBlock(value.data(), value.size() * sizeof(typename T::value_type));
            else
                for (auto& item : value) put(item);
        } else if constexpr (IsMap<T>::value) {
            putCount(value.size());
            for (auto& [key, item] : value) {
                auto k = key;
                put(k);
                put(item);
            }
        } else {
            fields(*this, value);
        }
    }
    /// An empty list or text has no place in memory to be written from.
    void putBlock(const void* data, std::size_t size) {
        if (size > 0) sink_.write(data, size);
    }
    void putFlag(bool set) {
        const uint8_t flag = set ? 1 : 0;
        sink_.write(&flag, sizeof flag);
    }
    void putCount(uint64_t count) { sink_.write(&count, sizeof count); }

    Sink& sink_;
};

class Reader {
public:
    explicit Reader(Source& source) : source_(source) {}

    template <class... T> void operator()(T&... values) { (get(values), ...); }

private:
    template <class T> void get(T& value) {
        if constexpr (std::is_same_v<T, bool>) {
            value = getFlag();
        } else if constexpr (isPlain<T>) {
            source_.read(&value, sizeof value);
        } else if constexpr (std::is_same_v<T, std::string>) {
            value.resize(getCount(1));
            getBlock(value.data(), value.size());
        } else if constexpr (std::is_same_v<T, std::filesystem::path> || std::is_same_v<T, JsonPlace>) {
            std::string text;
            get(text);
            value = T(text);
        } else if constexpr (IsOptional<T>::value) {
            value.reset();
            if (getFlag()) get(value.emplace());
        } else if constexpr (IsVariant<T>::value) {
            getAlternative<T>(value, getCount(1), std::make_index_sequence<std::variant_size_v<T>>());
        } else if constexpr (IsVector<T>::value) {
            using Item = typename T::value_type;
            if constexpr (isPlain<Item>) {
                value.resize(getCount(sizeof(Item)));
                getBlock(value.data(), value.size() * sizeof(Item));
            } else {
                // Each item takes at least a byte, so the count is checked like a block's.
                value.clear();
                value.resize(getCount(1));
                for (auto& item : value) get(item);
            }
        } else if constexpr (IsMap<T>::value) {
            value.clear();
            for (uint64_t n = getCount(1); n > 0; --n) {
                typename T::key_type key;
                get(key);
                get(value[key]);
            }
        } else {
            fields(*this, value);
        }
    }

    template <class T, std::size_t... I>
    void getAlternative(T& value, uint64_t index, std::index_sequence<I...>) {
        if (index >= sizeof...(I)) throw TransferError("a value of an unknown kind");
        ((index == I ? (void)get(value.template emplace<I>()) : (void)0), ...);
    }
    void getBlock(void* data, std::size_t size) {
        if (size > 0) source_.read(data, size);
    }
    bool getFlag() {
        uint8_t flag = 0;
        source_.read(&flag, sizeof flag);
        if (flag > 1) throw TransferError("a flag that is neither set nor clear");
        return flag == 1;
    }
    /// A count of items of `itemSize` bytes each.
    uint64_t getCount(std::size_t itemSize) {
        uint64_t count = 0;
        source_.read(&count, sizeof count);
        if (count > source_.largestBlock() / itemSize) throw TransferError("a count larger than any answer");
        return count;
    }

    Source& source_;
};

/// Writes the values into the sink.
template <class... T> void send(Sink& sink, T&... values) {
    Writer writer(sink);
    writer(values...);
}
/// Reads the values from the source, in the order they were sent.
template <class... T> void receive(Source& source, T&... values) {
    Reader reader(source);
    reader(values...);
}

} // namespace host::import::transfer
