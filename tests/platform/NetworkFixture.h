#pragma once
#include "platform/SimulatedNetwork.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

// Writes network files into a temporary folder and loads them.
class NetworkFiles {
public:
    std::filesystem::path write(const std::string& text, const std::string& name = "network.json")
    {
        const std::filesystem::path file = std::filesystem::path(dir_.path().toStdString()) / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

    std::shared_ptr<vorlu::SimulatedNetwork> load(const std::string& text)
    {
        std::string error;
        auto net = vorlu::SimulatedNetwork::load(write(text), error);
        EXPECT_NE(net, nullptr) << error;
        return net;
    }

    // The message, with the folder taken off so that cases can compare it whole.
    std::string error(const std::string& text)
    {
        std::string message;
        const auto file = write(text);
        EXPECT_EQ(vorlu::SimulatedNetwork::load(file, message), nullptr) << text;
        const std::string folder = file.parent_path().string() + "/";
        EXPECT_EQ(message.rfind(folder, 0), 0u) << message;
        return message.substr(folder.size() < message.size() ? folder.size() : 0);
    }

private:
    QTemporaryDir dir_;
};
