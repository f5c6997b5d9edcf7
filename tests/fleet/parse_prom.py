# Reads a Prometheus text file with the reference client's parser and prints
# each sample as one JSON line: name, labels, value.
import json
import sys

from prometheus_client.parser import text_string_to_metric_families

with open(sys.argv[1], encoding="utf-8") as f:
    for family in text_string_to_metric_families(f.read()):
        if family.type != "gauge":
            sys.exit("not a gauge: " + family.name)
        for s in family.samples:
            print(json.dumps({"name": s.name, "labels": s.labels, "value": s.value}))
