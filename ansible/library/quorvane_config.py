#!/usr/bin/python
# Writes a configuration file to one Quorvane gateway modem through quorvane-cli.
from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: quorvane_config
short_description: Write a configuration to a Quorvane gateway modem
description:
  - Runs C(quorvane-cli write) on the managed host against one modem, which is
    then written only when its configuration differs from I(config).
  - Reports C(changed) only when the modem's configuration changed; the tool reads
    the modem back after writing and fails the task when it does not hold I(config).
  - In check mode the tool runs with C(--dry-run) and writes nothing.
  - In diff mode the keys that differ are shown, the modem's value before and the
    configuration's after.
options:
  route:
    description: How the managed host reaches the modem; the route decides the kind of modem.
    type: dict
    required: true
    suboptions:
      type:
        description:
          - C(tcp), an Ethernet modem's configuration port; C(serial), an Ethernet
            modem's USB virtual COM port; C(tunnel), one of a 4G modem's tunnel ports.
        type: str
        required: true
        choices: [tcp, tunnel, serial]
      host:
        description: The modem's address, for C(tcp) and C(tunnel).
        type: str
      port:
        description: The TCP port; C(tcp) defaults to 502, C(tunnel) needs it.
        type: int
      line:
        description: The line whose tunnel I(route.port) is, for C(tunnel).
        type: int
        choices: [485, 232]
      device:
        description: The serial device, for C(serial).
        type: str
  config:
    description:
      - The configuration in the file format of C(docs/config-file.md), as a dictionary;
        its C(kind) must match the modem's.
      - A playbook reads a file on the controller with C(lookup('file', path) | from_json).
    type: dict
    required: true
  timeout:
    description: Seconds to wait for each of the modem's answers.
    type: int
    default: 10
  cli:
    description: Path of quorvane-cli on the managed host; by default it is looked up in PATH.
    type: path
notes:
  - Supports check mode and diff mode.
author: Quorvane developers
'''

EXAMPLES = r'''
- name: Provision an Ethernet modem from the site's file
  quorvane_config:
    route: {type: tcp, host: 10.1.0.21}
    config: "{{ lookup('file', 'site-a.json') | from_json }}"

- name: Provision a 4G modem through its RS485 tunnel
  quorvane_config:
    route: {type: tunnel, host: 10.2.0.31, port: 10500, line: 485}
    config: "{{ lookup('file', 'site-b.json') | from_json }}"
    timeout: 5
'''

RETURN = r'''
target:
  description: The modem as quorvane-cli names it.
  returned: always
  type: str
  sample: 10.1.0.21:502
result:
  description: C(unchanged), C(changed), or in check mode C(would_change).
  returned: always
  type: str
  sample: changed
differences:
  description:
    - The keys where the modem differed from I(config) before writing.
  returned: always
  type: list
  elements: dict
  sample: [{key: rs485.baud_rate, modem: 9600, file: 19200}]
'''

import json
import os

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.quorvane import COMMON_OPTIONS, run_cli


def main():
    options = dict(COMMON_OPTIONS, config=dict(type='dict', required=True))
    module = AnsibleModule(argument_spec=options, supports_check_mode=True)
    # Run in the temporary folder, so that a refusal names config.json alone.
    with open(os.path.join(module.tmpdir, 'config.json'), 'w') as f:
        json.dump(module.params['config'], f, indent=4, sort_keys=True)
    dry_run = ['--dry-run'] if module.check_mode else []
    result = run_cli(module, 'write', 'config.json', *dry_run, cwd=module.tmpdir)
    differences = result.get('differences', [])
    outcome = dict(target=result.get('target'), result=result['result'], differences=differences,
                   changed=result['result'] in ('changed', 'would_change'))
    if module._diff:
        outcome['diff'] = dict(before_header=outcome['target'], after_header='config',
                               before=dict((d['key'], d['modem']) for d in differences),
                               after=dict((d['key'], d['file']) for d in differences))
    module.exit_json(**outcome)


if __name__ == '__main__':
    main()
