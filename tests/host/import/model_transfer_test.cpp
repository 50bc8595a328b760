// The reading child's answers through a real pipe: every field of an imported model and of the
// mesh parts of a mesh file arrives as it was sent, and damaged or cut answers are refused
// without taking what they declare.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <thread>

#include "host/import/model_transfer.h"
#include "host/import/reading_pipe.h"

namespace {

using namespace host::import;

/// Fills every field of a value through the same field lists the transfer uses: each number
/// different, each list two items long (empty below four levels), each optional set, and the
/// alternatives of each variant in turn. A field added to a struct is filled without a change here.
class Filler {
public:
    template <class... T> void operator()(T&... values) { (fill(values), ...); }

    template <class T> void fill(T& value) {
        if constexpr (std::is_same_v<T, bool>) {
            value = next_++ % 2 == 0;
        } else if constexpr (std::is_enum_v<T>) {
            value = static_cast<T>(next_++ % 2);
        } else if constexpr (std::is_arithmetic_v<T>) {
            value = static_cast<T>(next_++);
        } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::filesystem::path> ||
                             std::is_same_v<T, host::JsonPlace>) {
            value = T("objects[" + std::to_string(next_++) + "].name");
        } else if constexpr (transfer::IsOptional<T>::value) {
            fill(value.emplace());
        } else if constexpr (transfer::IsVariant<T>::value) {
            fillAlternative(value, alternative_++ % std::variant_size_v<T>, std::make_index_sequence<std::variant_size_v<T>>());
        } else if constexpr (transfer::IsVector<T>::value || transfer::IsMap<T>::value) {
            if (depth_ >= 4) return;
            ++depth_;
            for (int n = 0; n < 2; ++n) {
                if constexpr (transfer::IsVector<T>::value) {
                    fill(value.emplace_back());
                } else {
                    typename T::key_type key{};
                    fill(key);
                    fill(value[key]);
                }
            }
            --depth_;
        } else if constexpr (std::is_trivially_copyable_v<T>) {
            auto* bytes = reinterpret_cast<unsigned char*>(&value);
            for (std::size_t i = 0; i < sizeof value; ++i) bytes[i] = static_cast<unsigned char>(next_++);
        } else {
            transfer::fields(*this, value);
        }
    }

private:
    template <class T, std::size_t... I> void fillAlternative(T& value, std::size_t index, std::index_sequence<I...>) {
        ((index == I ? fill(value.template emplace<I>()) : void()), ...);
    }
    int next_ = 1;
    std::size_t alternative_ = 0;
    int depth_ = 0;
};

/// Collects the bytes written, to compare what was sent with what arrived.
class Bytes : public transfer::Sink {
public:
    void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
    std::string text;
};

template <class T> std::string bytesOf(T& value) {
    Bytes bytes;
    transfer::send(bytes, value);
    return bytes.text;
}

/// Sends the value through a pipe from another thread and receives it.
template <class T> T throughPipe(T& sent) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    std::thread writer([&] {
        PipeSink sink(ends[1]);
        transfer::send(sink, sent);
        sink.flush();
        ::close(ends[1]);
    });
    T received;
    PipeSource source(ends[0], [] {}, uint64_t(1) << 30);
    transfer::receive(source, received);
    writer.join();
    ::close(ends[0]);
    return received;
}

TEST(ModelTransfer, EveryFieldArrivesAsItWasSent) {
    ImportedModel model;
    Filler().fill(model);
    // A geometry block larger than the pipe's buffers.
    model.document.objects[0].points.resize(300000, HostVector{1, 2, 3});
    std::vector<host::MeshPart> parts;
    Filler().fill(parts);
    ImportOptions options;
    Filler().fill(options);
    ReadingOutcome outcome;
    Filler().fill(outcome);

    ImportedModel receivedModel = throughPipe(model);
    EXPECT_EQ(bytesOf(receivedModel), bytesOf(model));
    EXPECT_EQ(receivedModel.document.objects[0].points.size(), 300000u);
    EXPECT_EQ(receivedModel.document.objects[1].children[0].path.text(), model.document.objects[1].children[0].path.text());
    std::vector<host::MeshPart> receivedParts = throughPipe(parts);
    EXPECT_EQ(bytesOf(receivedParts), bytesOf(parts));
    ASSERT_EQ(receivedParts.size(), 2u);
    EXPECT_TRUE(receivedParts[1].diffuse.has_value());
    ImportOptions receivedOptions = throughPipe(options);
    EXPECT_EQ(bytesOf(receivedOptions), bytesOf(options));
    ReadingOutcome receivedOutcome = throughPipe(outcome);
    EXPECT_EQ(bytesOf(receivedOutcome), bytesOf(outcome));
}

/// Reads from bytes held in memory, as a pipe whose writer ended after them.
class Held : public transfer::Source {
public:
    explicit Held(std::string bytes) : bytes_(std::move(bytes)) {}
    void read(void* data, std::size_t size) override {
        if (size > bytes_.size() - at_) throw PipeClosed("end of the data");
        std::memcpy(data, bytes_.data() + at_, size);
        at_ += size;
    }
    uint64_t largestBlock() const override { return 1 << 20; }

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

TEST(ModelTransfer, CutOrDamagedAnswersAreRefused) {
    std::vector<host::MeshPart> parts;
    Filler().fill(parts);
    const std::string sent = bytesOf(parts);
    for (std::size_t cut : {std::size_t(0), std::size_t(5), sent.size() / 2, sent.size() - 1}) {
        Held cutAnswer(sent.substr(0, cut));
        std::vector<host::MeshPart> received;
        EXPECT_THROW(transfer::receive(cutAnswer, received), PipeClosed) << cut;
    }
    // A count beyond any answer is refused before anything is taken for it; so are an unknown
    // alternative and a flag that is neither set nor clear.
    const uint64_t huge = uint64_t(1) << 40, unknownKind = std::variant_size_v<host::docfile::Value>;
    Held tooMany(std::string(reinterpret_cast<const char*>(&huge), sizeof huge));
    EXPECT_THROW(transfer::receive(tooMany, parts), transfer::TransferError);
    host::docfile::Value value;
    Held unknown(std::string(reinterpret_cast<const char*>(&unknownKind), sizeof unknownKind) + std::string(16, '\0'));
    EXPECT_THROW(transfer::receive(unknown, value), transfer::TransferError);
    std::optional<double> flagged;
    Held badFlag("\x02" + std::string(8, '\0'));
    EXPECT_THROW(transfer::receive(badFlag, flagged), transfer::TransferError);
}

} // namespace
