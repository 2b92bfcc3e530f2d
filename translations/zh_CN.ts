<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DlgHistory</name>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>From</source>
        <translation>从</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>To</source>
        <translation>到</translation>
    </message>
    <message>
        <source>All dates</source>
        <translation>所有日期</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Meter</source>
        <translation>仪表</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>实时</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>存储</translation>
    </message>
    <message>
        <source>Readings by mode</source>
        <translation>各模式读数</translation>
    </message>
    <message>
        <source>End</source>
        <translation>结束</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>导出...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>running</source>
        <translation>进行中</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>正常结束</translation>
    </message>
    <message>
        <source>cut short</source>
        <translation>意外中断</translation>
    </message>
    <message>
        <source>The session could not be opened.</source>
        <translation>无法打开该会话。</translation>
    </message>
    <message>
        <source>Export the session into</source>
        <translation>将会话导出到</translation>
    </message>
    <message>
        <source>%1 already holds %2.
Do you want to replace them?</source>
        <translation>%1 中已有 %2。
是否替换？</translation>
    </message>
    <message>
        <source>The session is exported.</source>
        <translation>会话已导出。</translation>
    </message>
    <message>
        <source>The session could not be exported.</source>
        <translation>无法导出该会话。</translation>
    </message>
    <message>
        <source>Delete the session started %1, with all its readings?
This cannot be undone.</source>
        <translation>删除开始于 %1 的会话及其全部读数？
此操作无法撤销。</translation>
    </message>
    <message>
        <source>The session could not be deleted.</source>
        <translation>无法删除该会话。</translation>
    </message>
</context>
<context>
    <name>DlgOption</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Sample Points</source>
        <translation>采样点数</translation>
    </message>
    <message>
        <source>Infinite</source>
        <translation>无限制</translation>
    </message>
    <message>
        <source>Sample Interval</source>
        <translation>采样间隔</translation>
    </message>
    <message>
        <source>mS</source>
        <translation>毫秒</translation>
    </message>
    <message>
        <source>Record data only at test time</source>
        <translation>仅在测试时记录数据</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>JournalDatabase</name>
    <message>
        <source>It is no file.</source>
        <translation>它不是文件。</translation>
    </message>
    <message>
        <source>It is not a database.</source>
        <translation>它不是数据库。</translation>
    </message>
    <message>
        <source>It cannot be read.</source>
        <translation>无法读取它。</translation>
    </message>
    <message>
        <source>Qt&apos;s SQLite driver is not installed.</source>
        <translation>未安装 Qt 的 SQLite 驱动。</translation>
    </message>
    <message>
        <source>It is damaged or not a database: %1</source>
        <translation>它已损坏或不是数据库：%1</translation>
    </message>
</context>
<context>
    <name>JournalSchema</name>
    <message>
        <source>It is a database, but not a Tessra journal.</source>
        <translation>它是数据库，但不是 Tessra 日志。</translation>
    </message>
    <message>
        <source>It was written by a newer version of Tessra (journal schema %1); this version reads journals up to schema %2.</source>
        <translation>它由较新版本的 Tessra 写入（日志结构 %1）；此版本只能读取结构 %2 及以下的日志。</translation>
    </message>
    <message>
        <source>Its tables could not be brought up to date: %1</source>
        <translation>无法更新其数据表：%1</translation>
    </message>
</context>
<context>
    <name>QProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>It is a directory.</source>
        <translation>这是一个目录。</translation>
    </message>
</context>
<context>
    <name>SessionCsvExport</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>TemplateWindow</name>
    <message>
        <source>TemplateWindow</source>
        <translation>主窗口</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation>日期/时间</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>RES</source>
        <translation>电阻</translation>
    </message>
    <message>
        <source>RES1</source>
        <translation>电阻1</translation>
    </message>
    <message>
        <source>RES2</source>
        <translation>电阻2</translation>
    </message>
    <message>
        <source>RES-COMP</source>
        <translation>比较电阻</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>LC</source>
        <translation>漏电流</translation>
    </message>
    <message>
        <source>V-Set</source>
        <translation>设定电压</translation>
    </message>
    <message>
        <source>V-Out</source>
        <translation>输出电压</translation>
    </message>
    <message>
        <source>DAR</source>
        <translation>DAR</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Time-Set</source>
        <translation>设定时间</translation>
    </message>
    <message>
        <source>Time-Set1</source>
        <translation>设定时间1</translation>
    </message>
    <message>
        <source>Time-Set2</source>
        <translation>设定时间2</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>电容</translation>
    </message>
    <message>
        <source>VOLT</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>ACDC</source>
        <translation>交直流</translation>
    </message>
    <message>
        <source>Tab 1</source>
        <translation>标签页 1</translation>
    </message>
    <message>
        <source>Vset:</source>
        <translation>设定电压：</translation>
    </message>
    <message>
        <source>0 V</source>
        <translation>0 V</translation>
    </message>
    <message>
        <source>Vout:</source>
        <translation>输出电压：</translation>
    </message>
    <message>
        <source>LC:</source>
        <translation>漏电流：</translation>
    </message>
    <message>
        <source>0 uA</source>
        <translation>0 uA</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>RES1:</source>
        <translation>电阻1：</translation>
    </message>
    <message>
        <source>RES2:</source>
        <translation>电阻2：</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>实时</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>存储</translation>
    </message>
    <message>
        <source>IR</source>
        <translation>IR</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>TIME</translation>
    </message>
    <message>
        <source>COMP</source>
        <translation>COMP</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Are you sure you want to clear all data?</source>
        <translation>确定要清除所有数据吗？</translation>
    </message>
    <message>
        <source>Data communication error.The equipment may have been disconnected.</source>
        <translation>数据通信错误。设备可能已断开连接。</translation>
    </message>
    <message>
        <source>Failed to open device.</source>
        <translation>打开设备失败。</translation>
    </message>
    <message>
        <source>No valid device found.</source>
        <translation>未找到有效的设备。</translation>
    </message>
    <message>
        <source>Choose the Device</source>
        <translation>选择设备</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>The data is exported successfully.<byte value="xd"/>
Do you want to open this file?</source>
        <translation>数据导出成功。<byte value="xd"/>
是否打开此文件？</translation>
    </message>
    <message>
        <source>The data is exported failed.</source>
        <translation>数据导出失败。</translation>
    </message>
    <message>
        <source>The chart is exported successfully.<byte value="xd"/>
Do you want to open this file?</source>
        <translation>图表导出成功。<byte value="xd"/>
是否打开此文件？</translation>
    </message>
    <message>
        <source>The chart is exported failed.</source>
        <translation>图表导出失败。</translation>
    </message>
    <message>
        <source>Time-Set:</source>
        <translation>设定时间：</translation>
    </message>
    <message>
        <source>Time-Set1:</source>
        <translation>设定时间1：</translation>
    </message>
    <message>
        <source>Time-Set2:</source>
        <translation>设定时间2：</translation>
    </message>
    <message>
        <source>RES-COMP:</source>
        <translation>比较电阻：</translation>
    </message>
    <message>
        <source>Result:</source>
        <translation>结果：</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英文</translation>
    </message>
    <message>
        <source>The chart could not be drawn as PDF.</source>
        <translation>无法将图表绘制为 PDF。</translation>
    </message>
</context>
<context>
    <name>WindowJournal</name>
    <message>
        <source>Readings cannot be kept in the journal %1.
They are still shown and can be exported, but they will be lost when Tessra ends.</source>
        <translation>读数无法保存到日志 %1。
读数仍会显示并可导出，但 Tessra 退出后将丢失。</translation>
    </message>
    <message numerus="yes">
        <source>Tessra did not end cleanly while recording the session started %1 (%n readings).
Do you want to bring its readings back into the tables?</source>
        <translation>
            <numerusform>Tessra 在记录开始于 %1 的会话（%n 个读数）时未正常结束。
是否将其读数恢复到表格中？</numerusform>
        </translation>
    </message>
    <message>
        <source>Loading the session&apos;s readings...</source>
        <translation>正在载入会话读数...</translation>
    </message>
    <message>
        <source>Exporting the session...</source>
        <translation>正在导出会话...</translation>
    </message>
    <message>
        <source>The session is being recorded.</source>
        <translation>该会话正在记录中。</translation>
    </message>
    <message>
        <source>There is no journal of past sessions.</source>
        <translation>没有以往会话的日志。</translation>
    </message>
</context>
</TS>
